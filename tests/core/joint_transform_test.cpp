#include "spatial/joint_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "reference.h"

namespace {

SpatialVector vec(double a, double b, double c, double d, double e, double f) {
  return {{a, b, c, d, e, f}};
}

SpatialVector toParent(const SpatialVector& f, const JointFrame& j, double s, double c) {
  SpatialVector out;
  forceToParentFrame(out, f, j.offsetX, j.depth, j.twistSin, j.twistCos, s, c);
  return out;
}

SpatialVector toChild(const SpatialVector& m, const JointFrame& j, double s, double c) {
  SpatialVector out;
  motionToChildFrame(out, m, j.offsetX, j.depth, j.twistSin, j.twistCos, s, c);
  return out;
}

void expectNear(const SpatialVector& a, const SpatialVector& b, double tol) {
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(a[i], b[i], tol) << "component " << i;
}

const JointFrame kIdentity = {0.0, 0.0, 0.0, 1.0};
const JointFrame kUnitOffset = {1.0, 0.0, 0.0, 1.0};

TEST(JointTransforms, IdentityFrameChangesNothing) {
  Random rnd;
  const SpatialVector v = rnd.vector();
  expectNear(toParent(v, kIdentity, 0.0, 1.0), v, 0.0);
  expectNear(toChild(v, kIdentity, 0.0, 1.0), v, 0.0);
  Vec3 u;
  rotateToChild(u, Vec3{1, 2, 3}, 0.0, 1.0, 0.0, 1.0);
  EXPECT_EQ(u.x, 1.0);
  EXPECT_EQ(u.y, 2.0);
  EXPECT_EQ(u.z, 3.0);
}

TEST(JointTransforms, WorkedExamples) {
  // A unit force along x, with the child turned a quarter turn, offset 1 along x.
  expectNear(toParent(vec(1, 0, 0, 0, 0, 0), kUnitOffset, 1.0, 0.0), vec(0, 1, 0, 0, 0, 1), 0.0);
  // The parent turning about z moves the child origin at omega perpendicular to the offset.
  expectNear(toChild(vec(0, 0, 0, 0, 0, 2.5), kUnitOffset, 0.0, 1.0), vec(0, 2.5, 0, 0, 0, 2.5),
             0.0);
  // A pure moment about the joint axis passes unchanged without twist.
  for (double angle : {0.0, 0.7, -2.0}) {
    const JointFrame frame = {1.7, 0.4, 0.0, 1.0};
    expectNear(toParent(vec(0, 0, 0, 0, 0, 1), frame, std::sin(angle), std::cos(angle)),
               vec(0, 0, 0, 0, 0, 1), 0.0);
  }
}

TEST(JointTransforms, ForceAndMotionTransformsAreDual) {
  Random rnd;
  for (int trial = 0; trial < 200; ++trial) {
    const auto [j, s, c] = rnd.joint();
    const SpatialVector f = rnd.vector(), m = rnd.vector();
    EXPECT_NEAR(dot(toParent(f, j, s, c), m), dot(f, toChild(m, j, s, c)), 1e-13);
  }
}

TEST(JointTransforms, RotateToChildIsTheLinearPartOfTheMotionTransform) {
  Random rnd;
  for (int trial = 0; trial < 50; ++trial) {
    const auto [j, s, c] = rnd.joint();
    const Vec3 g = {rnd.uniform(), rnd.uniform(), rnd.uniform()};
    Vec3 u;
    rotateToChild(u, g, j.twistSin, j.twistCos, s, c);
    const SpatialVector m = toChild(vec(g.x, g.y, g.z, 0, 0, 0), j, s, c);
    EXPECT_EQ(u.x, m[0]);
    EXPECT_EQ(u.y, m[1]);
    EXPECT_EQ(u.z, m[2]);
  }
}

PackedInertia project(const PackedInertia& IA, const JointFrame& j, double s, double c) {
  PackedInertia out;
  projectInertiaToParent(out, IA, j.offsetX, j.depth, j.twistSin, j.twistCos, s, c);
  return out;
}

// Ia = IA - U U^T / D as a dense matrix.
void removeJointDirection(Mat6& Ia, const PackedInertia& IA) {
  Mat6 full;
  unpack(full, IA);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) Ia[i][j] = full[i][j] - full[i][5] * full[j][5] / full[5][5];
}

TEST(ProjectInertiaToParent, MatchesTheProductForm) {
  // out m = forceToParentFrame(Ia motionToChildFrame(m)) for every parent motion m.
  Random rnd;
  for (int trial = 0; trial < 100; ++trial) {
    const auto [j, s, c] = rnd.joint();
    const PackedInertia IA = rnd.inertia();
    Mat6 out, Ia;
    unpack(out, project(IA, j, s, c));
    removeJointDirection(Ia, IA);
    for (int e = 0; e < 6; ++e) {
      SpatialVector m{};
      m[e] = 1.0;
      expectNear(multiply(out, m), toParent(multiply(Ia, toChild(m, j, s, c)), j, s, c), 1e-12);
    }
  }
}

TEST(ProjectInertiaToParent, IdentityFrameRemovesTheJointDirection) {
  Random rnd;
  const PackedInertia IA = rnd.inertia();
  Mat6 out, Ia;
  unpack(out, project(IA, kIdentity, 0.0, 1.0));
  removeJointDirection(Ia, IA);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(out[i][5], 0.0);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(out[i][k], Ia[i][k], 1e-15);
  }
}

TEST(ProjectInertiaToParent, IsBlindToTheJointsOwnMotion) {
  // The joint axis in the parent frame: angular R e_z, linear r x R e_z.
  Random rnd;
  for (int trial = 0; trial < 100; ++trial) {
    const auto [j, s, c] = rnd.joint();
    const Vec3 axis = {0.0, -j.twistSin, j.twistCos};  // R e_z = Rx e_z
    const Vec3 r = {j.offsetX, j.depth * j.twistSin, -j.depth * j.twistCos};
    const SpatialVector motion = vec(r.y * axis.z - r.z * axis.y, r.z * axis.x - r.x * axis.z,
                                     r.x * axis.y - r.y * axis.x, axis.x, axis.y, axis.z);
    Mat6 out;
    unpack(out, project(rnd.inertia(), j, s, c));
    expectNear(multiply(out, motion), vec(0, 0, 0, 0, 0, 0), 1e-12);
  }
}

SpatialVector bias(const SpatialVector& b, const PackedInertia& IA, double P, const JointFrame& j,
                   double s, double c) {
  SpatialVector out;
  biasToParentFrame(out, b, IA, P, j.offsetX, j.depth, j.twistSin, j.twistCos, s, c);
  return out;
}

TEST(BiasToParentFrame, CarriesTheBiasCorrectedToTheJointMomentum) {
  Random rnd;
  const PackedInertia IA = rnd.inertia();
  const SpatialVector b = rnd.vector();
  const JointFrame j = rnd.frame();
  const double s = std::sin(0.4), c = std::cos(0.4);
  // b = 0 and P = 0: nothing to hand on.
  expectNear(bias(vec(0, 0, 0, 0, 0, 0), IA, 0.0, j, s, c), vec(0, 0, 0, 0, 0, 0), 0.0);
  // P = b[5]: no correction, the bias itself is carried.
  expectNear(bias(b, IA, b[5], j, s, c), toParent(b, j, s, c), 0.0);
  // Identity frame: b + U (P - b[5]) / D, component 5 exactly P.
  const double P = 0.75;
  const SpatialVector w = bias(b, IA, P, kIdentity, 0.0, 1.0);
  const double u = (P - b[5]) / IA[20];
  const int column5[5] = {5, 10, 14, 17, 19};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(w[i], b[i] + u * IA[column5[i]], 1e-15);
  EXPECT_EQ(w[5], P);
}

}  // namespace
