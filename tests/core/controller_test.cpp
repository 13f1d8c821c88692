#include "dynamics/controller.h"

#include <gtest/gtest.h>

#include <cmath>

#include "figure_fixture.h"

namespace {

using ControllerTest = FigureTest;

TEST(PostureTorques, ZeroStateTorquesPullTowardsTheTargets) {
  double torque[kJointCount], zero[kJointCount] = {};
  postureTorques(torque, zero, zero, 3.0);
  const double expected[kJointCount] = {
      -78.5398, -47.12388, 0, 0, 39.2699, 0, 0, -26.179933333333334, 0, 0, 31.41592, 0, 0};
  for (int k = 0; k < kJointCount; ++k) EXPECT_EQ(torque[k], expected[k]) << "joint " << k;
}

TEST(PostureTorques, VanishAtTheTargetsAtRest) {
  const double target[kJointCount] = {-1.570796, -0.785398,           0, 0, 0.785398,           0,
                                      0,         -0.5235986666666667, 0, 0, 0.5235986666666667, 0,
                                      0};
  double torque[kJointCount], zero[kJointCount] = {};
  postureTorques(torque, zero, target, 21.0);
  for (int k = 0; k < kJointCount; ++k) EXPECT_EQ(torque[k], 0.0) << "joint " << k;
  EXPECT_EQ(0.5235986666666667, 1.570796 / 3);
  EXPECT_EQ(0.785398, 1.570796 / 2);
}

TEST(PostureTorques, StiffnessAndDampingPerJoint) {
  // Unit angle and velocity, one joint at a time: the asymmetric stiffnesses and the dampings.
  const double stiffness[kJointCount] = {50, 60, 20, 10, 50, 20, 10, 50, 20, 20, 60, 20, 20};
  const double target[kJointCount] = {-1.570796, -0.785398,           0, 0, 0.785398,           0,
                                      0,         -0.5235986666666667, 0, 0, 0.5235986666666667, 0,
                                      0};
  for (int k = 0; k < kJointCount; ++k) {
    double q[kJointCount], qdot[kJointCount] = {}, torque[kJointCount];
    for (int j = 0; j < kJointCount; ++j) q[j] = target[j];
    q[k] = target[k] + 1.0;
    qdot[k] = 1.0;
    postureTorques(torque, qdot, q, 7.0);
    const double damping = k == kTorso ? 7.0 : 5.1;
    EXPECT_NEAR(torque[k], -stiffness[k] - damping, 1e-12) << "joint " << k;
  }
}

TEST_F(ControllerTest, TorsoDampingGrowsAcrossTheGrid) {
  setForcing(*ws, 0, 0, 0, 0);
  EXPECT_EQ(ws->torsoDamping, 3.0);
  setForcing(*ws, 0, 0, 9, 9);
  EXPECT_EQ(ws->torsoDamping, 21.0);
  setForcing(*ws, 1, -1, 4, 2);
  EXPECT_EQ(ws->torsoDamping, 9.0);
}

TEST_F(ControllerTest, LimbTorquesForTheFarHalfInModeZeroAndTheNearHalfInModeOne) {
  struct Case {
    int verticalMode, i, j;
    bool on;
  };
  const Case cases[] = {{0, 0, 9, false}, {0, 1, 9, true}, {1, 0, 9, true},  {1, 1, 9, false},
                        {0, 9, 9, true},  {1, 0, 0, true}, {2, 9, 9, false}, {-1, 0, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.verticalMode << " (" << c.i << ", " << c.j << ")");
    setForcing(*ws, c.verticalMode, 0, c.i, c.j);
    const double on = c.on ? 100.0 : 0.0;
    EXPECT_EQ(ws->externalTorque[kRightUpperArm], -on);
    EXPECT_EQ(ws->externalTorque[kLeftUpperArm], on);
    EXPECT_EQ(ws->externalTorque[kRightUpperLeg], -on);
    EXPECT_EQ(ws->externalTorque[kLeftUpperLeg], on);
    EXPECT_FALSE(std::signbit(ws->externalTorque[kRightUpperArm]) && !c.on);
    for (int k : {2, 3, 5, 6, 8, 9, 11, 12}) EXPECT_EQ(ws->externalTorque[k], 0.0);
  }
}

TEST_F(ControllerTest, HorizontalDirectionSetsTheTorsoTorqueWhateverTheLimbs) {
  for (int mode : {0, 1}) {
    setForcing(*ws, mode, 1, 3, 3);
    EXPECT_EQ(ws->externalTorque[kTorso], 100.0);
    setForcing(*ws, mode, -1, 8, 9);
    EXPECT_EQ(ws->externalTorque[kTorso], -100.0);
    setForcing(*ws, mode, 5, 8, 9);  // not a direction: left as it was
    EXPECT_EQ(ws->externalTorque[kTorso], -100.0);
    setForcing(*ws, mode, 0, 0, 0);
    EXPECT_EQ(ws->externalTorque[kTorso], 0.0);
  }
}

}  // namespace
