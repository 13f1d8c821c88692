#include "dynamics/time_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dynamics/controller.h"
#include "dynamics/evaluation.h"
#include "figure_fixture.h"

namespace {

using TimeStepTest = FigureTest;

TEST(IntegrateStep, ConstantRatesAdvanceByTwiceTheStep) {
  double p[kJointCount], q[kJointCount];
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = k;
    q[k] = -k;
  }
  integrateStep(p, q, [](const double*, const double*, double* pdot, double* qdot) {
    for (int k = 0; k < kJointCount; ++k) {
      pdot[k] = 3.0;
      qdot[k] = -0.5;
    }
  });
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_NEAR(p[k], k + 2 * kTimeStep * 3.0, 1e-14);
    EXPECT_NEAR(q[k], -k + 2 * kTimeStep * -0.5, 1e-14);
  }
}

TEST(IntegrateStep, EvaluatesAtTheStateThePredictionAndTheHeunResult) {
  // Rates equal to the state (pdot = p, qdot = 2 q) show which state each evaluation saw.
  std::vector<double> seen;
  double p[kJointCount] = {1.0}, q[kJointCount] = {1.0};
  integrateStep(p, q, [&](const double* pIn, const double* qIn, double* pdot, double* qdot) {
    seen.push_back(pIn[0]);
    for (int k = 0; k < kJointCount; ++k) {
      pdot[k] = pIn[k];
      qdot[k] = 2.0 * qIn[k];
    }
  });
  const double dt = kTimeStep;
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], 1.0);
  EXPECT_EQ(seen[1], dt * 1.0 + 1.0);  // Euler prediction
  const double heun = (seen[1] + seen[0]) * dt * 0.5 + 1.0;
  EXPECT_EQ(seen[2], heun);                                // Heun result
  EXPECT_EQ(p[0], (seen[2] + seen[1]) * dt * 0.5 + heun);  // rate 2 used twice
}

TEST_F(TimeStepTest, AStateAtRestStaysExactly) {
  // At the targets, without gravity or forcing, every rate is zero.
  Model weightless = *model;
  weightless.gravity = {{0, 0, 0, 0, 0, 0}};
  const double target[kJointCount] = {-1.570796, -0.785398,           0, 0, 0.785398,           0,
                                      0,         -0.5235986666666667, 0, 0, 0.5235986666666667, 0,
                                      0};
  double p[kJointCount] = {}, q[kJointCount];
  for (int k = 0; k < kJointCount; ++k) q[k] = target[k];
  for (int n = 0; n < 10; ++n) stepFigure(weightless, *ws, p, q, 2, 0, 0, 0);
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(p[k], 0.0);
    EXPECT_EQ(q[k], target[k]);
  }
}

TEST_F(TimeStepTest, FiguresWithEqualGridSumsFollowTheSameTrajectory) {
  double pa[kJointCount] = {}, qa[kJointCount] = {-1.57};
  double pb[kJointCount] = {}, qb[kJointCount] = {-1.57};
  double pc[kJointCount] = {}, qc[kJointCount] = {-1.57};
  for (int n = 0; n < 500; ++n) {
    const int mode = (n / 100) % 2, direction = (n / 70) % 3 - 1;
    stepFigure(*model, *ws, pa, qa, mode, direction, 2, 7);
    stepFigure(*model, *ws, pb, qb, mode, direction, 6, 3);
    stepFigure(*model, *ws, pc, qc, mode, direction, 6, 4);
  }
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(pa[k], pb[k]);
    EXPECT_EQ(qa[k], qb[k]);
  }
  EXPECT_NE(qa[kTorso], qc[kTorso]);  // a different torso damping gives another motion
}

TEST_F(TimeStepTest, OneStepIsTheWrittenCombinationOfThreeEvaluations) {
  // Recompute one step by hand from evaluateDynamics and compare bit for bit.
  double p[kJointCount], q[kJointCount];
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = 0.1 * k - 0.5;
    q[k] = 0.2 * k - 1.0;
  }
  double p1[kJointCount], q1[kJointCount];
  std::copy(p, p + kJointCount, p1);
  std::copy(q, q + kJointCount, q1);
  stepFigure(*model, *ws, p1, q1, 1, -1, 3, 4);

  const double dt = kTimeStep;
  double pd1[kJointCount], qd1[kJointCount], pd2[kJointCount], qd2[kJointCount];
  double pd3[kJointCount], qd3[kJointCount], pe[kJointCount], qe[kJointCount];
  setForcing(*ws, 1, -1, 3, 4);
  evaluateDynamics(*model, *ws, p, q, pd1, qd1);
  for (int k = 0; k < kJointCount; ++k) {
    pe[k] = dt * pd1[k] + p[k];
    qe[k] = dt * qd1[k] + q[k];
  }
  evaluateDynamics(*model, *ws, pe, qe, pd2, qd2);
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = (pd2[k] + pd1[k]) * dt * 0.5 + p[k];
    q[k] = (qd2[k] + qd1[k]) * dt * 0.5 + q[k];
  }
  evaluateDynamics(*model, *ws, p, q, pd3, qd3);
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(p1[k], (pd3[k] + pd2[k]) * dt * 0.5 + p[k]);
    EXPECT_EQ(q1[k], (qd3[k] + qd2[k]) * dt * 0.5 + q[k]);
  }
}

}  // namespace
