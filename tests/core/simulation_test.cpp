#include "app/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "dynamics/momenta.h"

namespace {

// A clock that the tests set by hand.
int64_t fakeNow = 0;
int64_t fakeClock() {
  return fakeNow;
}

class SimulationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sim = new Simulation;
    initialiseFigures(*sim);
    initial = new FigureGrid(sim->grid);
  }
  void SetUp() override {
    sim->grid = *initial;
    sim->forcing = ForcingFlags{};
    sim->simulatedTime = 0.0;
    sim->idleCount = 0;
    sim->stepsPerRedraw = 3;
    sim->startTime = 1000.0;
    fakeNow = 1000;
  }
  static inline Simulation* sim = nullptr;
  static inline FigureGrid* initial = nullptr;
};

TEST_F(SimulationTest, StartsEveryFigureHangingAtRest) {
  for (int f = 0; f < kFigureCount; ++f) {
    EXPECT_EQ(initial->angles[f][0], -1.57);
    for (int k = 1; k < kJointCount; ++k) EXPECT_EQ(initial->angles[f][k], 0.0);
    for (int k = 0; k < kJointCount; ++k) {
      EXPECT_EQ(initial->momenta[f][k], 0.0);
      EXPECT_EQ(initial->initialVelocities[f][k], 0.0);
    }
  }
}

TEST_F(SimulationTest, ReportsOnEveryThirdCallWithTheRatio) {
  std::ostringstream out;
  fakeNow = 1100;
  EXPECT_FALSE(idleStep(*sim, out, fakeClock));
  EXPECT_FALSE(idleStep(*sim, out, fakeClock));
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(idleStep(*sim, out, fakeClock));
  EXPECT_EQ(sim->simulatedTime, 0.0105 + 0.0105 + 0.0105);
  std::ostringstream expected;
  expected << "SCR=" << sim->simulatedTime / 100.0 * 1000.0 << '\n';
  EXPECT_EQ(out.str(), expected.str());
  EXPECT_EQ(out.str(), "SCR=0.315\n");
  for (int call = 4; call <= 12; ++call) {
    EXPECT_EQ(idleStep(*sim, out, fakeClock), call % 3 == 0) << call;
  }
  EXPECT_EQ(sim->idleCount, 12);
}

TEST_F(SimulationTest, ReportLinesAreSCRAndSixSignificantDigits) {
  std::ostringstream out;
  sim->stepsPerRedraw = 1;
  const int64_t clocks[] = {1001, 1007, 1333, 4000};
  for (int64_t now : clocks) {
    fakeNow = now;
    EXPECT_TRUE(idleStep(*sim, out, fakeClock));
  }
  std::istringstream lines(out.str());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.rfind("SCR=", 0), 0u) << line;
    const std::string number = line.substr(4);
    char* end = nullptr;
    const double ratio = std::strtod(number.c_str(), &end);
    EXPECT_EQ(*end, '\0') << line;  // nothing after the number
    EXPECT_GT(ratio, 0.0) << line;
    // Significant digits: those of the mantissa after any leading zeros.
    const std::string mantissa = number.substr(0, number.find('e'));
    std::string digits;
    for (char ch : mantissa)
      if (ch >= '0' && ch <= '9' && !(digits.empty() && ch == '0')) digits += ch;
    EXPECT_LE(digits.size(), 6u) << line;
    EXPECT_GE(digits.size(), 1u) << line;
  }
  EXPECT_EQ(count, 4);
}

TEST_F(SimulationTest, NoElapsedTimeReportsInfinity) {
  std::ostringstream out;
  sim->stepsPerRedraw = 1;
  fakeNow = 1000;
  idleStep(*sim, out, fakeClock);
  EXPECT_EQ(out.str(), "SCR=inf\n");
}

TEST_F(SimulationTest, AFailingStreamDoesNotStopTheSimulation) {
  std::ostream broken(nullptr);
  sim->stepsPerRedraw = 1;
  fakeNow = 2000;
  EXPECT_TRUE(idleStep(*sim, broken, fakeClock));
  EXPECT_TRUE(idleStep(*sim, broken, fakeClock));
  EXPECT_EQ(sim->idleCount, 2);
  EXPECT_NE(sim->grid.angles[0][0], -1.57);
}

TEST_F(SimulationTest, StepsEveryFigureWithItsGridPlace) {
  std::ostringstream out;
  idleStep(*sim, out, fakeClock);
  // Figures with equal column + row move alike; the others do not.
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(sim->grid.angles[10 * 2 + 5][k], sim->grid.angles[10 * 5 + 2][k]);
    EXPECT_EQ(sim->grid.momenta[10 * 0 + 7][k], sim->grid.momenta[10 * 7 + 0][k]);
  }
  EXPECT_NE(sim->grid.momenta[0][0], sim->grid.momenta[99][0]);
  for (int f = 0; f < kFigureCount; ++f) EXPECT_NE(sim->grid.angles[f][0], -1.57) << f;
}

TEST(SpecialKeys, AssignTheForcingFlags) {
  struct Case {
    std::vector<int> keys;
    int verticalMode, horizontalDirection;
  };
  const Case cases[] = {
      {{kKeyLeft}, 0, -1},
      {{kKeyRight, kKeyRight}, 0, 1},
      {{kKeyDown, kKeyLeft}, 1, -1},
      {{kKeyLeft, kKeyDown}, 1, 0},
      {{kKeyDown, kKeyRight, kKeyUp}, 0, 0},
      {{kKeyDown, kKeyRight, 1, 12, 104, 105, 106, 107, 108, 97, 98},
       1,
       1},  // F1, F12, paging, ...
  };
  for (const Case& c : cases) {
    ForcingFlags flags;
    for (int key : c.keys) applySpecialKey(flags, key);
    EXPECT_EQ(flags.verticalMode, c.verticalMode);
    EXPECT_EQ(flags.horizontalDirection, c.horizontalDirection);
  }
}

TEST(RedrawPacing, SlowerStopsAtOneAndFasterAddsOne) {
  Simulation* sim = new Simulation;
  slowerRedraw(*sim);
  EXPECT_EQ(sim->stepsPerRedraw, 2);
  slowerRedraw(*sim);
  slowerRedraw(*sim);
  slowerRedraw(*sim);
  EXPECT_EQ(sim->stepsPerRedraw, 1);
  fasterRedraw(*sim);
  fasterRedraw(*sim);
  EXPECT_EQ(sim->stepsPerRedraw, 3);
  sim->stepsPerRedraw = std::numeric_limits<int32_t>::max();
  fasterRedraw(*sim);  // saturates instead of overflowing
  EXPECT_EQ(sim->stepsPerRedraw, std::numeric_limits<int32_t>::max());
  delete sim;
}

}  // namespace
