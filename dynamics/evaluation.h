// The dynamics of one figure: joint velocities and momentum rates from momenta and angles.
#pragma once

#include "model/model.h"

// From the momenta p and angles q (13 doubles each) computes the momentum rates pdot and the
// joint velocities qdot, with gravity, the posture controller and ws.externalTorque.
void evaluateDynamics(const Model& model, Workspace& ws, const double* p, const double* q,
                      double* pdot, double* qdot);

// The joint velocity that makes the joint-axis component of the subtree momentum equal to p:
// qdot = (p - B(5) - (I v)(5)) / I(5,5).
void jointVelocity(double* qdot, const double* p, const SpatialVector& biasSum,
                   const SpatialVector& parentVelocity, const PackedInertia& articulatedInertia);

// pdot = F(5) - (V x* h)(5) + jointTorque + externalTorque, with h = I V + B.
void momentumRate(double* pdot, const SpatialVector& totalForce, double jointTorque,
                  double externalTorque, const PackedInertia& articulatedInertia,
                  const SpatialVector& biasSum, const SpatialVector& bodyVelocity);

// Extension point between the velocity and force passes; does nothing.
inline void dynamicsHook() {}
