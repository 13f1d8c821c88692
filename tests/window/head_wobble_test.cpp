#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/scene.h"

namespace {

// Advances until the step changes sign; returns the number of advances taken.
long advanceUntilTurn(HeadWobble& wobble) {
  const bool rising = wobble.headWobbleStep > 0.0f;
  long count = 0;
  while ((wobble.headWobbleStep > 0.0f) == rising && count < 100000) {
    advanceHeadWobble(wobble);
    ++count;
  }
  return count;
}

TEST(HeadWobble, TurnsBackAfterPassingSixDegreesThenMinusSix) {
  HeadWobble wobble;
  // The 6001st figure passes +6 degrees (the first figure of the 61st frame).
  EXPECT_EQ(advanceUntilTurn(wobble), 6001);
  EXPECT_NEAR(wobble.headWobble, 6.000747, 5e-6);
  EXPECT_EQ(wobble.headWobbleStep, -0.01f);

  // It then falls and passes -6 degrees at the 18003rd figure.
  EXPECT_EQ(6001 + advanceUntilTurn(wobble), 18003);
  EXPECT_LT(wobble.headWobble, -6.0f);
  EXPECT_EQ(wobble.headWobbleStep, 0.01f);
}

TEST(HeadWobble, MovesByAThousandthOfADegreePerFigure) {
  HeadWobble wobble;
  for (int i = 0; i < 100; ++i) advanceHeadWobble(wobble);
  EXPECT_NEAR(wobble.headWobble, 0.1, 1e-5);
  EXPECT_EQ(wobble.headWobbleStep, 0.01f);
}

TEST(HeadWobble, ANotANumberTiltTurnsTheStepEveryTime) {
  HeadWobble wobble;
  wobble.headWobble = std::numeric_limits<float>::quiet_NaN();
  advanceHeadWobble(wobble);
  EXPECT_EQ(wobble.headWobbleStep, -0.01f);
  advanceHeadWobble(wobble);
  EXPECT_EQ(wobble.headWobbleStep, 0.01f);
  EXPECT_TRUE(std::isnan(wobble.headWobble));
}

}  // namespace
