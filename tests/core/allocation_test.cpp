// The stepping path allocates nothing: every global operator new is counted while the
// figures are stepped and reported.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>

#include "app/simulation.h"

namespace {
long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

TEST(SteppingPath, IdleCallsAndReportsAllocateNothing) {
  auto* sim = new Simulation;
  initialiseFigures(*sim);
  sim->stepsPerRedraw = 1;  // report on every call
  std::stringstream report;
  report << "warm up the stream's buffer " << 1.0 << '\n';
  report.seekp(0);
  const long before = allocations;
  for (int call = 0; call < 30; ++call) {
    if (call == 10) applySpecialKey(sim->forcing, kKeyDown);
    if (call == 20) applySpecialKey(sim->forcing, kKeyLeft);
    idleStep(*sim, report, clockMillis);
    report.seekp(0);
  }
  EXPECT_EQ(allocations - before, 0);
  EXPECT_EQ(sim->idleCount, 30);
  delete sim;
}

}  // namespace
