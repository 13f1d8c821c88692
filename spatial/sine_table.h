// Table-driven sine and cosine: one table of sine values over [0, 2 pi], built once.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

constexpr int32_t kSineTableSize = 1000000;

struct SineTable {
  double* entries = nullptr;  // entries[i] = sin(i * step); owned, never freed
  double step = 0.0;          // 6.283185307179586 / (count - 1)
  int32_t count = 0;
};

// The process's one table.
extern SineTable sineTable;

// Fills sineTable with count >= 2 entries. A failed allocation ends the process with one
// line on standard error and exit status 1. Building again with the same count keeps the table.
void buildSineTable(int32_t count);

// Angles whose turn count does not fit the fast path (|x| / 2 pi >= 2^30), infinities and NaN.
double tableSinOutOfRange(double x);

// The entry that the lookup reads and whether it is negated (the reduced angle is below 0;
// a tiny negative angle reads -entries[0], that is -0.0). Only for |x| / (2 pi) < 2^30.
struct SineIndex {
  int32_t index;
  bool negative;
};

inline SineIndex sineTableIndex(double x) {
  // Turn count truncated toward zero; m = 2k whole half turns.
  const int32_t k = static_cast<int32_t>(x * 0.15915494309189535);
  const int32_t m = k * 2;
  const double r = x - static_cast<double>(m) * 3.141592653589793;
  if (r < 0.0) return {-static_cast<int32_t>(r / sineTable.step), true};
  return {static_cast<int32_t>(r / sineTable.step), false};
}

// Sine of x from the table: reduce to below one turn, truncate to an index, no interpolation.
inline double tableSin(double x) {
  // The guard comes before any conversion: converting NaN, an infinity or a value beyond
  // int32 range to an integer is undefined behaviour.
  if (!(std::fabs(x * 0.15915494309189535) < 1073741824.0)) return tableSinOutOfRange(x);
  const SineIndex n = sineTableIndex(x);
  const double entry = sineTable.entries[n.index];
  return n.negative ? -entry : entry;
}

// Cosine as the sine of the complementary angle; no separate table.
inline double tableCos(double x) {
  return tableSin(1.5707963267948966 - x);
}
