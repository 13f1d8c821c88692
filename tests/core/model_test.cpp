#include <gtest/gtest.h>

#include "figure_fixture.h"
#include "spatial/rigid_body.h"
#include "spatial/sine_table.h"

namespace {

using ModelTest = FigureTest;

TEST_F(ModelTest, BuildsTheSineTableAndTheWorld) {
  EXPECT_EQ(sineTable.count, kSineTableSize);
  EXPECT_NE(sineTable.entries, nullptr);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(model->worldVelocity[i], 0.0);
  const double gravity[6] = {0.0, -9.80665, 0.0, 0.0, 0.0, 0.0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(model->gravity[i], gravity[i]);
}

TEST_F(ModelTest, BodyParametersFollowTheTable) {
  double total = 0.0;
  for (int k = 0; k < kJointCount; ++k) {
    const Body& b = model->body[k];
    SCOPED_TRACE(k);
    total += b.mass;
    EXPECT_EQ(b.centreOfMass.x, 0.5);
    EXPECT_EQ(b.centreOfMass.y, 0.0);
    EXPECT_EQ(b.centreOfMass.z, 0.0);
    EXPECT_EQ(b.rotInertia.xx, 0.01);
    EXPECT_EQ(b.rotInertia.xy, 0.0);
    EXPECT_EQ(b.rotInertia.xz, 0.0);
    EXPECT_EQ(b.rotInertia.yz, 0.0);
    EXPECT_EQ(b.jointFrame.offsetX, k == 0 ? 0.0 : 1.0);
    EXPECT_EQ(b.jointFrame.depth, 0.0);
    EXPECT_EQ(b.jointFrame.twistSin, 0.0);
    EXPECT_EQ(b.jointFrame.twistCos, 1.0);
  }
  EXPECT_NEAR(total, 10.8, 1e-12);

  // The irregular rows: the light bodies, the torso, and Iyy of the right hand alone.
  struct Row {
    int k;
    double mass, iyy, izz;
  };
  const Row rows[] = {{kTorso, 2.0, 0.33, 0.66},        {kRightHand, 0.2, 0.066, 0.066},
                      {kLeftHand, 0.2, 0.33, 0.066},    {kRightLowerLeg, 0.2, 0.33, 0.066},
                      {kRightFoot, 1.0, 0.33, 0.33},    {kLeftFoot, 0.2, 0.33, 0.066},
                      {kLeftLowerLeg, 1.0, 0.33, 0.33}, {kRightUpperArm, 1.0, 0.33, 0.33}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.k);
    EXPECT_EQ(model->body[r.k].mass, r.mass);
    EXPECT_EQ(model->body[r.k].rotInertia.yy, r.iyy);
    EXPECT_EQ(model->body[r.k].rotInertia.zz, r.izz);
  }
}

TEST_F(ModelTest, ChildListsHoldEachChildsToParentRecordsInJointOrder) {
  struct Wiring {
    int parent;
    std::vector<int> children;
  };
  const Wiring tree[] = {{kTorso, {kRightUpperArm, kLeftUpperArm, kRightUpperLeg, kLeftUpperLeg}},
                         {kRightUpperArm, {kRightLowerArm}},
                         {kRightLowerArm, {kRightHand}},
                         {kRightHand, {}},
                         {kLeftUpperArm, {kLeftLowerArm}},
                         {kLeftLowerArm, {kLeftHand}},
                         {kLeftHand, {}},
                         {kRightUpperLeg, {kRightLowerLeg}},
                         {kRightLowerLeg, {kRightFoot}},
                         {kRightFoot, {}},
                         {kLeftUpperLeg, {kLeftLowerLeg}},
                         {kLeftLowerLeg, {kLeftFoot}},
                         {kLeftFoot, {}}};
  int pointers = 0;
  for (const Wiring& w : tree) {
    const BodyScratch& parent = ws->body[w.parent];
    SCOPED_TRACE(w.parent);
    const int n = static_cast<int>(w.children.size());
    ASSERT_EQ(parent.inertiaChildren.size(), n);
    ASSERT_EQ(parent.biasChildren.size(), n);
    ASSERT_EQ(parent.forceChildren.size(), n);
    ASSERT_EQ(parent.momentumChildren.size(), n);
    for (int i = 0; i < n; ++i) {
      const BodyScratch& child = ws->body[w.children[i]];
      EXPECT_EQ(parent.inertiaChildren[i], &child.inertiaToParent);
      EXPECT_EQ(parent.biasChildren[i], &child.biasToParent);
      EXPECT_EQ(parent.forceChildren[i], &child.forceToParent);
      EXPECT_EQ(parent.momentumChildren[i], &child.momentumToParent);
    }
    pointers += 4 * n;
  }
  EXPECT_EQ(pointers, 48);
}

TEST_F(ModelTest, ParentSumsSeeLaterChangesToChildRecords) {
  BodyScratch& torso = ws->body[kTorso];
  ws->body[kLeftUpperArm].forceToParent = {{0, 0, 0, 0, 0, 0}};
  ws->body[kRightUpperArm].forceToParent = {{0, 0, 0, 0, 0, 0}};
  ws->body[kRightUpperLeg].forceToParent = {{0, 0, 0, 0, 0, 0}};
  ws->body[kLeftUpperLeg].forceToParent = {{0, 0, 0, 0, 0, 0}};
  SpatialVector sum;
  sumChildren(sum, torso.forceChildren);
  EXPECT_EQ(sum[5], 0.0);
  ws->body[kLeftUpperArm].forceToParent[5] = 2.5;
  sumChildren(sum, torso.forceChildren);
  EXPECT_EQ(sum[5], 2.5);
}

TEST(Workspaces, TwoWorkspacesAreWiredToTheirOwnRecords) {
  Model model;
  Workspace a, b;
  buildModel(model, a);
  buildModel(model, b);
  EXPECT_EQ(a.body[kTorso].forceChildren[0], &a.body[kRightUpperArm].forceToParent);
  EXPECT_EQ(b.body[kTorso].forceChildren[0], &b.body[kRightUpperArm].forceToParent);
}

TEST(Workspaces, RebuildingDoesNotGrowTheLists) {
  Model model;
  Workspace ws;
  buildModel(model, ws);
  buildModel(model, ws);
  EXPECT_EQ(ws.body[kTorso].inertiaChildren.size(), 4);
  EXPECT_EQ(ws.body[kRightUpperArm].biasChildren.size(), 1);
}

}  // namespace
