#include "dynamics/momenta.h"

#include "dynamics/kinematics.h"

namespace {

// Body b's velocity from its parent's (V), plus its own momentum.
inline void velocityAndMomentum(const Model& model, Workspace& ws, int b, const SpatialVector& V,
                                const double* qdot) {
  const Body& body = model.body[b];
  BodyScratch& S = ws.body[b];
  parentVelocityInBody(model, ws, b, V);
  addJointRate(S.bodyVelocity, S.parentVelocity, &qdot[b]);
  rigidMomentum(S.ownMomentum, body.mass, body.rotInertia, body.centreOfMass, S.bodyVelocity);
}

// Subtree momentum of body b and its joint's component.
inline void subtreeMomentum(Workspace& ws, int b, double* p) {
  BodyScratch& S = ws.body[b];
  sumWithChildren(S.totalMomentum, S.ownMomentum, S.momentumChildren);
  jointComponent(p[b], S.totalMomentum);
}

inline void momentumToParent(const Model& model, Workspace& ws, int b) {
  forceToParentOf(model, ws, b, ws.body[b].momentumToParent, ws.body[b].totalMomentum);
}

}  // namespace

void computeMomenta(const Model& model, Workspace& ws, double* p, const double* q,
                    const double* qdot) {
  jointSinesAndCosines(ws, q);

  // Outward: every body's velocity and own momentum, root first.
  const BodyScratch* S = ws.body;
  velocityAndMomentum(model, ws, kTorso, model.worldVelocity, qdot);
  velocityAndMomentum(model, ws, kRightUpperArm, S[kTorso].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kRightLowerArm, S[kRightUpperArm].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kRightHand, S[kRightLowerArm].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftUpperArm, S[kTorso].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftLowerArm, S[kLeftUpperArm].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftHand, S[kLeftLowerArm].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kRightUpperLeg, S[kTorso].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kRightLowerLeg, S[kRightUpperLeg].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kRightFoot, S[kRightLowerLeg].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftUpperLeg, S[kTorso].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftLowerLeg, S[kLeftUpperLeg].bodyVelocity, qdot);
  velocityAndMomentum(model, ws, kLeftFoot, S[kLeftLowerLeg].bodyVelocity, qdot);

  // Inward: subtree momenta, leaves first; each child hands its sum to the parent's list.
  // clang-format off
  subtreeMomentum(ws, kRightHand, p);      momentumToParent(model, ws, kRightHand);
  subtreeMomentum(ws, kRightLowerArm, p);  momentumToParent(model, ws, kRightLowerArm);
  subtreeMomentum(ws, kRightUpperArm, p);
  subtreeMomentum(ws, kLeftHand, p);       momentumToParent(model, ws, kLeftHand);
  subtreeMomentum(ws, kLeftLowerArm, p);   momentumToParent(model, ws, kLeftLowerArm);
  subtreeMomentum(ws, kLeftUpperArm, p);
  subtreeMomentum(ws, kRightFoot, p);      momentumToParent(model, ws, kRightFoot);
  subtreeMomentum(ws, kRightLowerLeg, p);  momentumToParent(model, ws, kRightLowerLeg);
  subtreeMomentum(ws, kRightUpperLeg, p);
  subtreeMomentum(ws, kLeftFoot, p);       momentumToParent(model, ws, kLeftFoot);
  subtreeMomentum(ws, kLeftLowerLeg, p);   momentumToParent(model, ws, kLeftLowerLeg);
  subtreeMomentum(ws, kLeftUpperLeg, p);
  // clang-format on
  momentumToParent(model, ws, kRightUpperArm);
  momentumToParent(model, ws, kLeftUpperArm);
  momentumToParent(model, ws, kRightUpperLeg);
  momentumToParent(model, ws, kLeftUpperLeg);
  subtreeMomentum(ws, kTorso, p);
}
