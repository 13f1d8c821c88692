#include "model/model.h"

#include "spatial/sine_table.h"

namespace {

void setBody(Body& body, double mass, double iyy, double izz, double offsetX) {
  body.rotInertia = {0.01, 0.0, 0.0, iyy, 0.0, izz};
  body.centreOfMass = {0.5, 0.0, 0.0};
  body.mass = mass;
  body.jointFrame = {offsetX, 0.0, 0.0, 1.0};
}

}  // namespace

void buildModel(Model& model, Workspace& workspace) {
  buildSineTable(kSineTableSize);
  model.worldVelocity = {{0.0, 0.0, 0.0, 0.0, 0.0, 0.0}};
  model.gravity = {{0.0, -9.80665, 0.0, 0.0, 0.0, 0.0}};

  // clang-format off
  //                                 mass Iyy    Izz    offsetX
  setBody(model.body[kTorso],         2.0, 0.33,  0.66,  0.0);
  setBody(model.body[kRightUpperArm], 1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kRightLowerArm], 1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kRightHand],     0.2, 0.066, 0.066, 1.0);
  setBody(model.body[kLeftUpperArm],  1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kLeftLowerArm],  1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kLeftHand],      0.2, 0.33,  0.066, 1.0);
  setBody(model.body[kRightUpperLeg], 1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kRightLowerLeg], 0.2, 0.33,  0.066, 1.0);
  setBody(model.body[kRightFoot],     1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kLeftUpperLeg],  1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kLeftLowerLeg],  1.0, 0.33,  0.33,  1.0);
  setBody(model.body[kLeftFoot],      0.2, 0.33,  0.066, 1.0);
  // clang-format on

  wireTree(workspace);
}
