#include "dynamics/controller.h"

namespace {

constexpr double kLimbDamping = 5.1;
constexpr double kForcingTorque = 100.0;

}  // namespace

void postureTorques(double* jointTorque, const double* qdot, const double* q, double torsoDamping) {
  // Joints with a target angle: (target - q) * stiffness - damping * qdot.
  jointTorque[kTorso] = (-1.570796 - q[kTorso]) * 50.0 - torsoDamping * qdot[kTorso];
  jointTorque[kRightUpperArm] =
      (-0.785398 - q[kRightUpperArm]) * 60.0 - kLimbDamping * qdot[kRightUpperArm];
  jointTorque[kLeftUpperArm] =
      (0.785398 - q[kLeftUpperArm]) * 50.0 - kLimbDamping * qdot[kLeftUpperArm];
  jointTorque[kRightUpperLeg] =
      (-0.5235986666666667 - q[kRightUpperLeg]) * 50.0 - kLimbDamping * qdot[kRightUpperLeg];
  jointTorque[kLeftUpperLeg] =
      (0.5235986666666667 - q[kLeftUpperLeg]) * 60.0 - kLimbDamping * qdot[kLeftUpperLeg];
  // Joints with target 0: (-damping * qdot) - stiffness * q.
  jointTorque[kRightLowerArm] = (-kLimbDamping * qdot[kRightLowerArm]) - 20.0 * q[kRightLowerArm];
  jointTorque[kRightHand] = (-kLimbDamping * qdot[kRightHand]) - 10.0 * q[kRightHand];
  jointTorque[kLeftLowerArm] = (-kLimbDamping * qdot[kLeftLowerArm]) - 20.0 * q[kLeftLowerArm];
  jointTorque[kLeftHand] = (-kLimbDamping * qdot[kLeftHand]) - 10.0 * q[kLeftHand];
  jointTorque[kRightLowerLeg] = (-kLimbDamping * qdot[kRightLowerLeg]) - 20.0 * q[kRightLowerLeg];
  jointTorque[kRightFoot] = (-kLimbDamping * qdot[kRightFoot]) - 20.0 * q[kRightFoot];
  jointTorque[kLeftLowerLeg] = (-kLimbDamping * qdot[kLeftLowerLeg]) - 20.0 * q[kLeftLowerLeg];
  jointTorque[kLeftFoot] = (-kLimbDamping * qdot[kLeftFoot]) - 20.0 * q[kLeftFoot];
}

void setForcing(Workspace& ws, int32_t verticalMode, int32_t horizontalDirection, int32_t i,
                int32_t j) {
  const int32_t n = i + j;
  ws.torsoDamping = static_cast<double>(n + 3);

  // Limb torques push each upper limb further towards its target: on for the far half of
  // the grid in mode 0, for the near half in mode 1.
  const bool limbsOn = (verticalMode == 0 && n > 9) || (verticalMode == 1 && n <= 9);
  ws.externalTorque[kRightUpperArm] = limbsOn ? -kForcingTorque : 0.0;
  ws.externalTorque[kLeftUpperArm] = limbsOn ? kForcingTorque : 0.0;
  ws.externalTorque[kRightUpperLeg] = limbsOn ? -kForcingTorque : 0.0;
  ws.externalTorque[kLeftUpperLeg] = limbsOn ? kForcingTorque : 0.0;

  // The torso is pushed one way or the other; any other direction leaves it as it was.
  if (horizontalDirection == 1) ws.externalTorque[kTorso] = kForcingTorque;
  if (horizontalDirection == -1) ws.externalTorque[kTorso] = -kForcingTorque;
  if (horizontalDirection == 0) ws.externalTorque[kTorso] = 0.0;
}
