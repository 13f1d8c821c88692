#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "dynamics/controller.h"
#include "dynamics/evaluation.h"
#include "dynamics/momenta.h"
#include "figure_fixture.h"
#include "reference.h"
#include "spatial/rigid_body.h"

namespace {

using Joints = std::array<double, kJointCount>;

class DynamicsTest : public FigureTest {
 protected:
  Joints momenta(const Joints& q, const Joints& qdot) {
    Joints p;
    computeMomenta(*model, *ws, p.data(), q.data(), qdot.data());
    return p;
  }
  struct Rates {
    Joints pdot, qdot;
  };
  Rates evaluate(const Joints& p, const Joints& q, const Model* m = nullptr) {
    Rates r;
    evaluateDynamics(m ? *m : *model, *ws, p.data(), q.data(), r.pdot.data(), r.qdot.data());
    return r;
  }
  Joints random(double scale) {
    Joints v;
    for (double& x : v) x = rnd.uniform(-scale, scale);
    return v;
  }
  static double dot(const Joints& a, const Joints& b) {
    double s = 0.0;
    for (int k = 0; k < kJointCount; ++k) s += a[k] * b[k];
    return s;
  }
  Random rnd;
};

Joints unit(int k) {
  Joints v{};
  v[k] = 1.0;
  return v;
}

TEST_F(DynamicsTest, MomentaOfSingleJointRatesAtZeroAngles) {
  struct Case {
    int joint;
    Joints p;
  };
  const Case cases[] = {
      {kRightHand, {0.366, 0.266, 0.166, 0.066, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {kRightFoot, {1.83, 0, 0, 0, 0, 0, 0, 1.33, 0.83, 0.33, 0, 0, 0}},
      {kTorso,
       {49.964, 6.426, 2.396, 0.366, 6.426, 2.396, 0.366, 10.426, 5.596, 1.83, 6.426, 2.396,
        0.366}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.joint);
    const Joints p = momenta(Joints{}, unit(c.joint));
    for (int k = 0; k < kJointCount; ++k) EXPECT_NEAR(p[k], c.p[k], 1e-8) << "joint " << k;
  }
}

TEST_F(DynamicsTest, ZeroVelocitiesGiveZeroMomentaAtAnyAngles) {
  for (int trial = 0; trial < 5; ++trial) {
    const Joints p = momenta(random(3.0), Joints{});
    for (double x : p) EXPECT_EQ(x, 0.0);
  }
}

TEST_F(DynamicsTest, MassMatrixIsSymmetricPositiveDefiniteAndIndependentOfTheTorsoAngle) {
  for (int trial = 0; trial < 20; ++trial) {
    Joints q = random(2.0);
    const Joints a = random(1.0), b = random(1.0);
    const Joints pa = momenta(q, a), pb = momenta(q, b);
    EXPECT_NEAR(dot(pa, b), dot(pb, a), 1e-12);
    EXPECT_GT(dot(pa, a), 0.0);
    q[0] += 1.234;
    const Joints turned = momenta(q, a);
    for (int k = 0; k < kJointCount; ++k) EXPECT_NEAR(turned[k], pa[k], 1e-12);
  }
}

TEST_F(DynamicsTest, EvaluationInvertsTheMomentumConversion) {
  for (int trial = 0; trial < 20; ++trial) {
    const Joints q = random(3.0), w = random(1.0);
    const Rates r = evaluate(momenta(q, w), q);
    for (int k = 0; k < kJointCount; ++k) EXPECT_NEAR(r.qdot[k], w[k], 1e-13) << k;
  }
}

TEST_F(DynamicsTest, JointMomentumIsTheSubtreeMomentumAlongTheAxis) {
  const Joints p = random(2.0), q = random(3.0);
  evaluate(p, q);
  for (int b = 0; b < kJointCount; ++b) {
    const BodyScratch& S = ws->body[b];
    Mat6 I;
    unpack(I, S.articulatedInertia);
    const SpatialVector h = multiply(I, S.bodyVelocity);
    EXPECT_NEAR(h[5] + S.biasSum[5], p[b], 1e-12) << b;
  }
}

TEST_F(DynamicsTest, ZeroMomentaGiveZeroVelocitiesAndStaticRates) {
  const Joints q = random(3.0);
  const Rates r = evaluate(Joints{}, q);
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(r.qdot[k], 0.0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ws->body[k].bodyVelocity[i], 0.0);
    EXPECT_EQ(r.pdot[k], ws->body[k].totalForce[5] + ws->jointTorque[k] + ws->externalTorque[k]);
  }
}

// T(p, q) = 0.5 p . qdot(p, q), the kinetic energy in canonical coordinates.
TEST_F(DynamicsTest, MomentumRatesFollowTheCanonicalEquations) {
  for (int trial = 0; trial < 5; ++trial) {
    const Joints p = random(2.0), q = random(1.5);
    const Rates r = evaluate(p, q);
    Joints applied;
    for (int k = 0; k < kJointCount; ++k) {
      applied[k] = ws->body[k].totalForce[5] + ws->jointTorque[k] + ws->externalTorque[k];
    }
    for (int k = 0; k < kJointCount; ++k) {
      const double h = 0.01;
      Joints plus = q, minus = q;
      plus[k] += h;
      minus[k] -= h;
      const double dT =
          (0.5 * dot(p, evaluate(p, plus).qdot) - 0.5 * dot(p, evaluate(p, minus).qdot)) / (2 * h);
      const double lhs = r.pdot[k] - applied[k];
      if (k == kTorso) {
        EXPECT_NEAR(lhs, 0.0, 1e-12);
        EXPECT_NEAR(dT, 0.0, 1e-9);
      } else {
        EXPECT_NEAR(lhs, -dT, 1e-3 * std::fabs(dT) + 1e-4) << "joint " << k;
      }
    }
  }
}

TEST_F(DynamicsTest, ExternalTorqueChangesOnlyItsOwnRate) {
  const Joints p = random(2.0), q = random(3.0);
  const Rates base = evaluate(p, q);
  for (int k = 0; k < kJointCount; ++k) {
    ws->externalTorque[k] = 7.5;
    const Rates pushed = evaluate(p, q);
    ws->externalTorque[k] = 0.0;
    for (int j = 0; j < kJointCount; ++j) {
      EXPECT_EQ(pushed.qdot[j], base.qdot[j]);
      if (j == k) {
        EXPECT_NEAR(pushed.pdot[j] - base.pdot[j], 7.5, 1e-12);
      } else {
        EXPECT_EQ(pushed.pdot[j], base.pdot[j]);
      }
    }
  }
}

TEST_F(DynamicsTest, VelocitiesDoNotDependOnGravityDampingOrTorques) {
  const Joints p = random(2.0), q = random(3.0);
  const Rates base = evaluate(p, q);
  Model weightless = *model;
  weightless.gravity = {{0, 0, 0, 0, 0, 0}};
  ws->torsoDamping = 21.0;
  for (double& t : ws->externalTorque) t = -100.0;
  const Rates other = evaluate(p, q, &weightless);
  for (int k = 0; k < kJointCount; ++k) {
    EXPECT_EQ(other.qdot[k], base.qdot[k]);
    EXPECT_NE(other.pdot[k], base.pdot[k]);
  }
}

TEST_F(DynamicsTest, LeavesHaveRigidInertiaAndNoBias) {
  evaluate(random(2.0), random(3.0));
  for (int leaf : {kRightHand, kLeftHand, kRightFoot, kLeftFoot}) {
    const Body& b = model->body[leaf];
    PackedInertia rigid;
    assembleInertia(rigid, ChildList<PackedInertia>{}, b.mass, b.rotInertia, b.centreOfMass);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(ws->body[leaf].articulatedInertia[i], rigid[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ws->body[leaf].biasSum[i], 0.0);
  }
}

TEST_F(DynamicsTest, EvaluationDoesNotDependOnThePreviousFigure) {
  const Joints p = random(2.0), q = random(3.0);
  const Rates first = evaluate(p, q);
  evaluate(random(5.0), random(5.0));
  const Rates again = evaluate(p, q);
  EXPECT_EQ(first.pdot, again.pdot);
  EXPECT_EQ(first.qdot, again.qdot);
}

}  // namespace
