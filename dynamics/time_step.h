// One time step of one figure.
#pragma once

#include <cstdint>

#include "model/model.h"

constexpr double kTimeStep = 0.0105;  // seconds

// The integration scheme for any rate function evaluate(p, q, pdot, qdot): a Heun step
// followed by a second trapezoidal update from the Heun result. The state changes by
// dt/2 rate1 + dt rate2 + dt/2 rate3, weights adding to 2 dt.
template <typename Evaluate>
void integrateStep(double* p, double* q, Evaluate&& evaluate) {
  const double dt = kTimeStep;
  double pdot1[kJointCount], qdot1[kJointCount];
  double pdot2[kJointCount], qdot2[kJointCount];
  double pdot3[kJointCount], qdot3[kJointCount];
  double pPredicted[kJointCount], qPredicted[kJointCount];

  // Euler prediction from the rates at the current state.
  evaluate(p, q, pdot1, qdot1);
  for (int k = 0; k < kJointCount; ++k) {
    pPredicted[k] = dt * pdot1[k] + p[k];
    qPredicted[k] = dt * qdot1[k] + q[k];
  }

  // Heun update with the rates at the prediction.
  evaluate(pPredicted, qPredicted, pdot2, qdot2);
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = (pdot2[k] + pdot1[k]) * dt * 0.5 + p[k];
    q[k] = (qdot2[k] + qdot1[k]) * dt * 0.5 + q[k];
  }

  // Second update with the rates at the Heun result.
  evaluate(p, q, pdot3, qdot3);
  for (int k = 0; k < kJointCount; ++k) {
    p[k] = (pdot3[k] + pdot2[k]) * dt * 0.5 + p[k];
    q[k] = (qdot3[k] + qdot2[k]) * dt * 0.5 + q[k];
  }
}

// Advances the figure in column i, row j in place: sets its forcing, then integrates its
// momenta p and angles q with three dynamics evaluations.
void stepFigure(const Model& model, Workspace& ws, double* p, double* q, int32_t verticalMode,
                int32_t horizontalDirection, int32_t i, int32_t j);
