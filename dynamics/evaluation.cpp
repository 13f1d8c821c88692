#include "dynamics/evaluation.h"

#include "dynamics/controller.h"
#include "dynamics/kinematics.h"

//---- per-joint formulas ----

void jointVelocity(double* qdot, const double* p, const SpatialVector& B, const SpatialVector& v,
                   const PackedInertia& I) {
  // Row 5 of I is its column 5: entries 5, 10, 14, 17, 19, 20.
  *qdot =
      (*p - B[5] -
       (I[5] * v[0] + I[10] * v[1] + I[14] * v[2] + I[17] * v[3] + I[19] * v[4] + I[20] * v[5])) /
      I[20];
}

void momentumRate(double* pdot, const SpatialVector& F, double jointTorque, double externalTorque,
                  const PackedInertia& I, const SpatialVector& B, const SpatialVector& V) {
  // h = I V + B; only h(0), h(1), h(3), h(4) enter (V x* h)(5).
  const double h0 =
      (I[0] * V[0] + I[1] * V[1] + I[2] * V[2] + I[3] * V[3] + I[4] * V[4] + I[5] * V[5]) + B[0];
  const double h1 =
      (I[1] * V[0] + I[6] * V[1] + I[7] * V[2] + I[8] * V[3] + I[9] * V[4] + I[10] * V[5]) + B[1];
  const double h3 =
      (I[3] * V[0] + I[8] * V[1] + I[12] * V[2] + I[15] * V[3] + I[16] * V[4] + I[17] * V[5]) +
      B[3];
  const double h4 =
      (I[4] * V[0] + I[9] * V[1] + I[13] * V[2] + I[16] * V[3] + I[18] * V[4] + I[19] * V[5]) +
      B[4];
  // (V x* h)(5) = V(0) h(1) - V(1) h(0) + V(3) h(4) - V(4) h(3), accumulated in this order:
  double bracket = -V[4] * h3;
  bracket = bracket + V[0] * h1;
  bracket = bracket - V[1] * h0;
  bracket = bracket + V[3] * h4;
  *pdot = ((F[5] - bracket) + jointTorque) + externalTorque;
}

//---- per-body steps of the passes ----

namespace {

// Gravity in body b from gravity in its parent.
inline void gravityStep(const Model& model, Workspace& ws, int b, const Vec3& parentGravity) {
  const JointFrame& f = model.body[b].jointFrame;
  rotateToChild(ws.body[b].gravityInBody, parentGravity, f.twistSin, f.twistCos, ws.jointSin[b],
                ws.jointCos[b]);
}

// Articulated inertia and bias sum of body b from its children's contributions.
inline void articulatedBody(const Model& model, Workspace& ws, int b) {
  const Body& body = model.body[b];
  BodyScratch& S = ws.body[b];
  assembleInertia(S.articulatedInertia, S.inertiaChildren, body.mass, body.rotInertia,
                  body.centreOfMass);
  sumChildren(S.biasSum, S.biasChildren);
}

// What body b hands to its parent: inertia with the joint direction removed, and the bias.
inline void articulatedToParent(const Model& model, Workspace& ws, int b, const double* p) {
  const JointFrame& f = model.body[b].jointFrame;
  BodyScratch& S = ws.body[b];
  projectInertiaToParent(S.inertiaToParent, S.articulatedInertia, f.offsetX, f.depth, f.twistSin,
                         f.twistCos, ws.jointSin[b], ws.jointCos[b]);
  biasToParentFrame(S.biasToParent, S.biasSum, S.articulatedInertia, p[b], f.offsetX, f.depth,
                    f.twistSin, f.twistCos, ws.jointSin[b], ws.jointCos[b]);
}

// Joint velocity and body velocity of body b from its parent's velocity V.
inline void velocityStep(const Model& model, Workspace& ws, int b, const SpatialVector& V,
                         const double* p, double* qdot) {
  BodyScratch& S = ws.body[b];
  parentVelocityInBody(model, ws, b, V);
  jointVelocity(&qdot[b], &p[b], S.biasSum, S.parentVelocity, S.articulatedInertia);
  addJointRate(S.bodyVelocity, S.parentVelocity, &qdot[b]);
}

// Gravity force of the subtree of body b.
inline void forceStep(const Model& model, Workspace& ws, int b) {
  const Body& body = model.body[b];
  BodyScratch& S = ws.body[b];
  pointForce(S.ownForce, S.gravityInBody, body.centreOfMass, body.mass);
  sumWithChildren(S.totalForce, S.ownForce, S.forceChildren);
}

inline void forceToParent(const Model& model, Workspace& ws, int b) {
  forceToParentOf(model, ws, b, ws.body[b].forceToParent, ws.body[b].totalForce);
}

}  // namespace

//---- the evaluation ----

void evaluateDynamics(const Model& model, Workspace& ws, const double* p, const double* q,
                      double* pdot, double* qdot) {
  const BodyScratch* S = ws.body;

  // 1. Sines and cosines of every joint angle.
  jointSinesAndCosines(ws, q);

  // 2. Gravity in every body, root first.
  const Vec3 worldGravity = {model.gravity[0], model.gravity[1], model.gravity[2]};
  gravityStep(model, ws, kTorso, worldGravity);
  gravityStep(model, ws, kRightUpperArm, S[kTorso].gravityInBody);
  gravityStep(model, ws, kRightLowerArm, S[kRightUpperArm].gravityInBody);
  gravityStep(model, ws, kRightHand, S[kRightLowerArm].gravityInBody);
  gravityStep(model, ws, kLeftUpperArm, S[kTorso].gravityInBody);
  gravityStep(model, ws, kLeftLowerArm, S[kLeftUpperArm].gravityInBody);
  gravityStep(model, ws, kLeftHand, S[kLeftLowerArm].gravityInBody);
  gravityStep(model, ws, kRightUpperLeg, S[kTorso].gravityInBody);
  gravityStep(model, ws, kRightLowerLeg, S[kRightUpperLeg].gravityInBody);
  gravityStep(model, ws, kRightFoot, S[kRightLowerLeg].gravityInBody);
  gravityStep(model, ws, kLeftUpperLeg, S[kTorso].gravityInBody);
  gravityStep(model, ws, kLeftLowerLeg, S[kLeftUpperLeg].gravityInBody);
  gravityStep(model, ws, kLeftFoot, S[kLeftLowerLeg].gravityInBody);

  // 3. Articulated inertias and biases, leaves first.
  // clang-format off
  articulatedBody(model, ws, kRightHand);     articulatedToParent(model, ws, kRightHand, p);
  articulatedBody(model, ws, kRightLowerArm); articulatedToParent(model, ws, kRightLowerArm, p);
  articulatedBody(model, ws, kRightUpperArm); articulatedToParent(model, ws, kRightUpperArm, p);
  articulatedBody(model, ws, kLeftHand);      articulatedToParent(model, ws, kLeftHand, p);
  articulatedBody(model, ws, kLeftLowerArm);  articulatedToParent(model, ws, kLeftLowerArm, p);
  articulatedBody(model, ws, kLeftUpperArm);  articulatedToParent(model, ws, kLeftUpperArm, p);
  articulatedBody(model, ws, kRightFoot);     articulatedToParent(model, ws, kRightFoot, p);
  articulatedBody(model, ws, kRightLowerLeg); articulatedToParent(model, ws, kRightLowerLeg, p);
  articulatedBody(model, ws, kRightUpperLeg); articulatedToParent(model, ws, kRightUpperLeg, p);
  articulatedBody(model, ws, kLeftFoot);      articulatedToParent(model, ws, kLeftFoot, p);
  articulatedBody(model, ws, kLeftLowerLeg);  articulatedToParent(model, ws, kLeftLowerLeg, p);
  articulatedBody(model, ws, kLeftUpperLeg);  articulatedToParent(model, ws, kLeftUpperLeg, p);
  articulatedBody(model, ws, kTorso);
  // clang-format on

  // 4. Joint velocities and body velocities, root first.
  velocityStep(model, ws, kTorso, model.worldVelocity, p, qdot);
  velocityStep(model, ws, kRightUpperArm, S[kTorso].bodyVelocity, p, qdot);
  velocityStep(model, ws, kRightLowerArm, S[kRightUpperArm].bodyVelocity, p, qdot);
  velocityStep(model, ws, kRightHand, S[kRightLowerArm].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftUpperArm, S[kTorso].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftLowerArm, S[kLeftUpperArm].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftHand, S[kLeftLowerArm].bodyVelocity, p, qdot);
  velocityStep(model, ws, kRightUpperLeg, S[kTorso].bodyVelocity, p, qdot);
  velocityStep(model, ws, kRightLowerLeg, S[kRightUpperLeg].bodyVelocity, p, qdot);
  velocityStep(model, ws, kRightFoot, S[kRightLowerLeg].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftUpperLeg, S[kTorso].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftLowerLeg, S[kLeftUpperLeg].bodyVelocity, p, qdot);
  velocityStep(model, ws, kLeftFoot, S[kLeftLowerLeg].bodyVelocity, p, qdot);

  // 5.
  dynamicsHook();

  // 6. Posture controller at the joint velocities just found.
  postureTorques(ws.jointTorque, qdot, q, ws.torsoDamping);

  // 7. Gravity forces of every subtree, leaves first.
  // clang-format off
  forceStep(model, ws, kRightHand);     forceToParent(model, ws, kRightHand);
  forceStep(model, ws, kRightLowerArm); forceToParent(model, ws, kRightLowerArm);
  forceStep(model, ws, kRightUpperArm); forceToParent(model, ws, kRightUpperArm);
  forceStep(model, ws, kLeftHand);      forceToParent(model, ws, kLeftHand);
  forceStep(model, ws, kLeftLowerArm);  forceToParent(model, ws, kLeftLowerArm);
  forceStep(model, ws, kLeftUpperArm);  forceToParent(model, ws, kLeftUpperArm);
  forceStep(model, ws, kRightFoot);     forceToParent(model, ws, kRightFoot);
  forceStep(model, ws, kRightLowerLeg); forceToParent(model, ws, kRightLowerLeg);
  forceStep(model, ws, kRightUpperLeg); forceToParent(model, ws, kRightUpperLeg);
  forceStep(model, ws, kLeftFoot);      forceToParent(model, ws, kLeftFoot);
  forceStep(model, ws, kLeftLowerLeg);  forceToParent(model, ws, kLeftLowerLeg);
  forceStep(model, ws, kLeftUpperLeg);  forceToParent(model, ws, kLeftUpperLeg);
  forceStep(model, ws, kTorso);
  // clang-format on

  // 8. Momentum rates.
  for (int k = 0; k < kJointCount; ++k) {
    momentumRate(&pdot[k], S[k].totalForce, ws.jointTorque[k], ws.externalTorque[k],
                 S[k].articulatedInertia, S[k].biasSum, S[k].bodyVelocity);
  }
}
