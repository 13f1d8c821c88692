// The figure model: constant parameters of the thirteen bodies and of the World, shared by
// every figure, and the scratch workspace that one evaluation at a time writes.
#pragma once

#include "spatial/child_list.h"
#include "spatial/joint_transform.h"
#include "spatial/spatial_types.h"

constexpr int kJointCount = 13;

// Joint k turns body k.
enum BodyIndex : int {
  kTorso = 0,
  kRightUpperArm = 1,
  kRightLowerArm = 2,
  kRightHand = 3,
  kLeftUpperArm = 4,
  kLeftLowerArm = 5,
  kLeftHand = 6,
  kRightUpperLeg = 7,
  kRightLowerLeg = 8,
  kRightFoot = 9,
  kLeftUpperLeg = 10,
  kLeftLowerLeg = 11,
  kLeftFoot = 12,
};

// Constant parameters of one body and of the joint that places it in its parent.
struct Body {
  RotInertia rotInertia;  // about the joint, in the body's axes
  Vec3 centreOfMass;
  double mass;
  JointFrame jointFrame;
};

struct Model {
  SpatialVector worldVelocity;  // the World never moves
  SpatialVector gravity;        // linear part: acceleration of gravity in the World frame
  Body body[kJointCount];
};

// Scratch records of one body, rewritten by every evaluation before they are read, and the
// four lists through which its children hand it their contributions.
struct BodyScratch {
  Vec3 gravityInBody;
  PackedInertia articulatedInertia;
  PackedInertia inertiaToParent;
  SpatialVector biasSum;
  SpatialVector biasToParent;
  SpatialVector parentVelocity;
  SpatialVector bodyVelocity;
  SpatialVector ownForce;
  SpatialVector totalForce;
  SpatialVector forceToParent;
  SpatialVector ownMomentum;
  SpatialVector totalMomentum;
  SpatialVector momentumToParent;

  ChildList<PackedInertia> inertiaChildren;
  ChildList<SpatialVector> biasChildren;
  ChildList<SpatialVector> forceChildren;
  ChildList<SpatialVector> momentumChildren;
};

// Everything an evaluation writes. Its child lists point into its own records, so a
// workspace is wired once by buildModel and never copied or moved.
struct Workspace {
  Workspace() = default;
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  BodyScratch body[kJointCount];
  double jointSin[kJointCount];
  double jointCos[kJointCount];
  double jointTorque[kJointCount];
  double externalTorque[kJointCount];  // joints 0, 1, 4, 7, 10 set per step; the rest stay 0
  double torsoDamping;
};

// Builds the sine table, sets the World records and every body's parameters, then wires the
// workspace's child lists.
void buildModel(Model& model, Workspace& workspace);

// Creates every body's four child lists and registers each child's to-parent records.
void wireTree(Workspace& workspace);
