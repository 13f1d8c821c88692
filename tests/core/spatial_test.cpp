#include <gtest/gtest.h>

#include "reference.h"
#include "spatial/rigid_body.h"

namespace {

const RotInertia kTorsoInertia = {0.01, 0.0, 0.0, 0.33, 0.0, 0.66};
const Vec3 kCentre = {0.5, 0.0, 0.0};

SpatialVector vec(double a, double b, double c, double d, double e, double f) {
  return {{a, b, c, d, e, f}};
}

void expectVector(const SpatialVector& actual, const SpatialVector& expected) {
  for (int i = 0; i < 6; ++i) EXPECT_EQ(actual[i], expected[i]) << "component " << i;
}

TEST(ChildList, KeepsInsertionOrderAndRefusesAFifthChild) {
  SpatialVector records[5];
  ChildList<SpatialVector> list;
  list.create();
  EXPECT_EQ(list.size(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(list.append(&records[i]));
  EXPECT_FALSE(list.append(&records[4]));
  ASSERT_EQ(list.size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list[i], &records[i]);
  list.create();
  EXPECT_EQ(list.begin(), list.end());
}

TEST(ListSums, EmptyListsGiveOwnVectorZeroAndRigidInertia) {
  const ChildList<SpatialVector> none;
  SpatialVector out = vec(9, 9, 9, 9, 9, 9);
  const SpatialVector own = vec(1, 2, 3, 4, 5, 6);
  sumWithChildren(out, own, none);
  expectVector(out, own);
  sumChildren(out, none);
  expectVector(out, vec(0, 0, 0, 0, 0, 0));
}

TEST(ListSums, ChildrenAreAddedInListOrderAndReadWhenSummed) {
  // 1e16 + 1 + (-1e16) depends on the order of addition: in list order the 1 is lost.
  SpatialVector a = vec(1e16, 0, 0, 0, 0, 1), b = vec(1, 0, 0, 0, 0, 2),
                c = vec(-1e16, 0, 0, 0, 0, 3);
  ChildList<SpatialVector> list;
  list.append(&a);
  list.append(&b);
  list.append(&c);
  SpatialVector out;
  sumChildren(out, list);
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[5], 6.0);
  sumWithChildren(out, vec(0, 0, 0, 0, 0, 10), list);
  EXPECT_EQ(out[5], 16.0);
  b[5] = 20.0;  // the list holds addresses: a later change is seen by the next sum
  sumChildren(out, list);
  EXPECT_EQ(out[5], 24.0);
}

TEST(AssembleInertia, MassTwoBodyGivesTheRigidInertia) {
  PackedInertia I;
  assembleInertia(I, ChildList<PackedInertia>{}, 2.0, kTorsoInertia, kCentre);
  Mat6 m;
  unpack(m, I);
  const double expected[6][6] = {{2, 0, 0, 0, 0, 0},     {0, 2, 0, 0, 0, 1},
                                 {0, 0, 2, 0, -1, 0},    {0, 0, 0, 0.01, 0, 0},
                                 {0, 0, -1, 0, 0.33, 0}, {0, 1, 0, 0, 0, 0.66}};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) EXPECT_EQ(m[i][j], expected[i][j]) << i << "," << j;
}

TEST(AssembleInertia, AddsEveryChildEntryByEntry) {
  Random rnd;
  PackedInertia a = rnd.inertia(), b = rnd.inertia(), own, sum;
  ChildList<PackedInertia> list;
  list.append(&a);
  list.append(&b);
  assembleInertia(own, ChildList<PackedInertia>{}, 1.0, kTorsoInertia, kCentre);
  assembleInertia(sum, list, 1.0, kTorsoInertia, kCentre);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(sum[i], own[i] + a[i] + b[i]);
}

TEST(RigidMomentum, EqualsRigidInertiaTimesVelocity) {
  Random rnd;
  for (int trial = 0; trial < 50; ++trial) {
    const double m = rnd.uniform(0.1, 3.0);
    const RotInertia I = {rnd.uniform(), rnd.uniform(), rnd.uniform(),
                          rnd.uniform(), rnd.uniform(), rnd.uniform()};
    const Vec3 c = {rnd.uniform(), rnd.uniform(), rnd.uniform()};
    const SpatialVector v = rnd.vector();
    PackedInertia packed;
    assembleInertia(packed, ChildList<PackedInertia>{}, m, I, c);
    Mat6 full;
    unpack(full, packed);
    const SpatialVector expected = multiply(full, v);
    SpatialVector h;
    rigidMomentum(h, m, I, c, v);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(h[i], expected[i], 1e-14) << i;
  }
}

TEST(RigidMomentum, SpecialBodies) {
  SpatialVector h;
  rigidMomentum(h, 2.0, kTorsoInertia, kCentre, vec(0, 0, 0, 0, 0, 0));
  expectVector(h, vec(0, 0, 0, 0, 0, 0));
  rigidMomentum(h, 0.0, RotInertia{}, kCentre, vec(1, 2, 3, 4, 5, 6));
  expectVector(h, vec(0, 0, 0, 0, 0, 0));
  // centre of mass at the origin: (m v, I w)
  rigidMomentum(h, 2.0, kTorsoInertia, Vec3{0, 0, 0}, vec(1, 2, 3, 4, 5, 6));
  expectVector(h, vec(2, 4, 6, 0.01 * 4.0, 0.33 * 5.0, 0.66 * 6.0));
}

TEST(PointForce, IsTheForceWithItsMomentAboutTheOrigin) {
  SpatialVector f;
  pointForce(f, Vec3{0.0, -9.80665, 0.0}, kCentre, 2.0);
  expectVector(f, vec(0.0, -19.6133, 0.0, 0.0, 0.0, 0.5 * -19.6133));
  pointForce(f, Vec3{1.0, 2.0, 3.0}, Vec3{0, 0, 0}, 2.0);
  expectVector(f, vec(2, 4, 6, 0, 0, 0));
}

TEST(JointComponent, PicksAndAddsComponentFiveOnly) {
  const SpatialVector v = vec(1, 2, 3, 4, 5, 6);
  double out = 0.0;
  jointComponent(out, v);
  EXPECT_EQ(out, 6.0);
  SpatialVector w;
  const double rate = 0.5, none = 0.0;
  addJointRate(w, v, &rate);
  expectVector(w, vec(1, 2, 3, 4, 5, 6.5));
  addJointRate(w, v, &none);
  expectVector(w, v);
}

}  // namespace
