#include "spatial/sine_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <limits>

namespace {

class SineTableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { buildSineTable(kSineTableSize); }
  static double entry(int i) { return sineTable.entries[i]; }
};

TEST_F(SineTableTest, TableHoldsSinesOverOneClosedTurn) {
  EXPECT_EQ(sineTable.step, 6.283185307179586 / 999999.0);
  EXPECT_EQ(entry(0), 0.0);
  EXPECT_EQ(entry(250000), std::sin(250000 * sineTable.step));
  EXPECT_NEAR(entry(999999), -2.4e-16, 1e-16);  // sin(2 pi) in doubles
}

TEST_F(SineTableTest, LookupReadsTheTruncatedIndex) {
  struct Case {
    double x;
    int index;
    bool negative;
  };
  const Case cases[] = {
      {0.0, 0, false},
      {-0.0, 0, false},  // -0.0 is not below zero
      {-1e-7, 0, true},  // tiny negative angle: -(entry 0), that is -0.0
      {3.141592653589793, 499999, false},
      {-3.141592653589793, 499999, true},
      {6.283185307179586, 0, false},  // exactly one turn: k = 1, r = 0
      {12.566370614359172, 0, false},
      {6.283185307179585, 999998, false},  // just below one turn: k = 0
      {81.68140899333461, 0, true},        // just below 26 pi: k = 13, r about -1.4e-14
      {7.0, 114084, false},
      {-7.0, 114084, true},
      {100.0, 915493, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    const SineIndex n = sineTableIndex(c.x);
    EXPECT_EQ(n.index, c.index);
    EXPECT_EQ(n.negative, c.negative);
    EXPECT_EQ(tableSin(c.x), c.negative ? -entry(c.index) : entry(c.index));
  }
  EXPECT_TRUE(std::signbit(tableSin(-1e-7)));
  EXPECT_FALSE(std::signbit(tableSin(-0.0)));
  EXPECT_TRUE(std::signbit(tableSin(81.68140899333461)));
}

TEST_F(SineTableTest, CosineIsTheSineOfTheComplement) {
  EXPECT_EQ(tableCos(0.0), entry(249999));
  EXPECT_NEAR(tableCos(0.0), 0.9999999999888967, 1e-16);
  for (double x : {-7.0, -1.57, 0.3, 2.5, 40.0})
    EXPECT_EQ(tableCos(x), tableSin(1.5707963267948966 - x));
}

TEST_F(SineTableTest, SineIsOddAndWithinOneStepOfTheTrueSine) {
  for (double x = -50.0; x < 50.0; x += 0.01234567) {
    ASSERT_EQ(tableSin(-x), -tableSin(x)) << x;
    ASSERT_NEAR(tableSin(x), std::sin(x), sineTable.step) << x;
  }
}

TEST_F(SineTableTest, NonFiniteAnglesGiveNaNWithoutReadingTheTable) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
    EXPECT_TRUE(std::isnan(tableSin(x))) << x;
    EXPECT_TRUE(std::isnan(tableCos(x))) << x;
  }
}

TEST_F(SineTableTest, HugeAnglesAreReducedByWholeTurnsFirst) {
  // Beyond 2^30 turns the fast reduction would overflow its integer; the angle is first
  // reduced exactly with fmod, then looked up.
  for (double x : {6.8e9, -6.8e9, 1e15, -3e100, std::numeric_limits<double>::max(),
                   -std::numeric_limits<double>::max()}) {
    SCOPED_TRACE(x);
    const double reduced = std::fmod(x, 6.283185307179586);
    EXPECT_EQ(tableSin(x), tableSin(reduced));
    EXPECT_LE(std::fabs(tableSin(x)), 1.0);
  }
}

TEST_F(SineTableTest, IndexStaysInTheTableUpToTheFastPathLimit) {
  // Angles near whole turns at the largest magnitudes the fast path accepts, where the
  // rounding of the reduction is largest.
  const double turn = 6.283185307179586;
  for (double turns : {1.0, 1e3, 1e6, 1e8, 5e8, 1073741823.0}) {
    for (double offset = -3e-5; offset <= 3e-5; offset += 1e-6) {
      for (double sign : {1.0, -1.0}) {
        const double x = sign * (turns * turn + offset);
        if (!(std::fabs(x * 0.15915494309189535) < 1073741824.0)) continue;
        const SineIndex n = sineTableIndex(x);
        ASSERT_GE(n.index, 0) << x;
        ASSERT_LT(n.index, kSineTableSize) << x;
      }
    }
  }
}

// Builds a fresh table of count entries in an address space of 64 MiB.
[[maybe_unused]] void buildTableWithin64MiB(int32_t count) {
  sineTable = SineTable{};
  const rlimit limit = {64 << 20, 64 << 20};
  setrlimit(RLIMIT_AS, &limit);
  buildSineTable(count);
}

TEST(SineTableBuild, FailedAllocationStopsWithOneLine) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address-space limit conflicts with the sanitizer's shadow memory";
#else
  EXPECT_EXIT(buildTableWithin64MiB(100000000), ::testing::ExitedWithCode(1),
              "figures: cannot allocate the sine table \\(800000000 bytes\\)");
#endif
}

}  // namespace
