#include "spatial/sine_table.h"

#include <cstdio>
#include <cstdlib>
#include <new>

SineTable sineTable;

void buildSineTable(int32_t count) {
  if (sineTable.entries != nullptr && sineTable.count == count) return;
  const double step = 6.283185307179586 / static_cast<double>(count - 1);
  double* entries = new (std::nothrow) double[static_cast<size_t>(count)];
  if (entries == nullptr) {
    std::fprintf(stderr, "figures: cannot allocate the sine table (%lld bytes)\n",
                 static_cast<long long>(count) * static_cast<long long>(sizeof(double)));
    std::exit(1);
  }
  for (int32_t i = 0; i < count; ++i) entries[i] = std::sin(static_cast<double>(i) * step);
  delete[] sineTable.entries;
  sineTable.entries = entries;
  sineTable.step = step;
  sineTable.count = count;
}

double tableSinOutOfRange(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  // fmod is exact: the remainder lies strictly inside one turn and takes the fast path.
  return tableSin(std::fmod(x, 6.283185307179586));
}
