#include "dynamics/time_step.h"

#include "dynamics/controller.h"
#include "dynamics/evaluation.h"

void stepFigure(const Model& model, Workspace& ws, double* p, double* q, int32_t verticalMode,
                int32_t horizontalDirection, int32_t i, int32_t j) {
  const double dt = kTimeStep;
  double pdot1[kJointCount], qdot1[kJointCount];
  double pdot2[kJointCount], qdot2[kJointCount];
  double pdot3[kJointCount], qdot3[kJointCount];
  double pPredicted[kJointCount], qPredicted[kJointCount];

  setForcing(ws, verticalMode, horizontalDirection, i, j);

  // Euler prediction from the rates at the current state.
  evaluateDynamics(model, ws, p, q, pdot1, qdot1);
  for (int k = 0; k < kJointCount; ++k) {
    pPredicted[k] = dt * pdot1[k] + p[k];
    qPredicted[k] = dt * qdot1[k] + q[k];
  }

  // Heun update with the rates at the prediction.
  evaluateDynamics(model, ws, pPredicted, qPredicted, pdot2, qdot2);
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = (pdot2[k] + pdot1[k]) * dt * 0.5 + p[k];
    q[k] = (qdot2[k] + qdot1[k]) * dt * 0.5 + q[k];
  }

  // Second update with the rates at the Heun result.
  evaluateDynamics(model, ws, p, q, pdot3, qdot3);
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = (pdot3[k] + pdot2[k]) * dt * 0.5 + p[k];
    q[k] = (qdot3[k] + qdot2[k]) * dt * 0.5 + q[k];
  }
}
