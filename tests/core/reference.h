// Dense 6x6 reference arithmetic and random inputs for checking the spatial operations.
#pragma once

#include <cmath>
#include <random>

#include "spatial/joint_transform.h"
#include "spatial/spatial_types.h"

using Mat6 = double[6][6];

inline void unpack(Mat6& m, const PackedInertia& p) {
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) m[i][j] = p[packedIndex(i, j)];
}

inline SpatialVector multiply(const Mat6& m, const SpatialVector& v) {
  SpatialVector out{};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) out[i] += m[i][j] * v[j];
  return out;
}

inline double dot(const SpatialVector& a, const SpatialVector& b) {
  double s = 0.0;
  for (int i = 0; i < 6; ++i) s += a[i] * b[i];
  return s;
}

struct Random {
  std::mt19937_64 engine{12345};
  double uniform(double lo = -1.0, double hi = 1.0) {
    return std::uniform_real_distribution<double>(lo, hi)(engine);
  }
  SpatialVector vector() {
    SpatialVector v;
    for (int i = 0; i < 6; ++i) v[i] = uniform();
    return v;
  }
  // A random joint frame with a unit twist, any offset and depth.
  JointFrame frame() {
    const double alpha = uniform(-3.0, 3.0);
    return {uniform(-2.0, 2.0), uniform(-2.0, 2.0), std::sin(alpha), std::cos(alpha)};
  }
  // A random joint frame with the sine and cosine of a random joint angle.
  struct Joint {
    JointFrame frame;
    double s, c;
  };
  Joint joint() {
    const JointFrame f = frame();
    const double angle = uniform(-4.0, 4.0);
    return {f, std::sin(angle), std::cos(angle)};
  }
  // A symmetric positive definite spatial inertia: M^T M + identity.
  PackedInertia inertia() {
    double m[6][6], sym[6][6] = {};
    for (auto& row : m)
      for (double& x : row) x = uniform();
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) {
        for (int k = 0; k < 6; ++k) sym[i][j] += m[k][i] * m[k][j];
        if (i == j) sym[i][j] += 1.0;
      }
    PackedInertia p;
    for (int i = 0; i < 6; ++i)
      for (int j = i; j < 6; ++j) p[packedIndex(i, j)] = sym[i][j];
    return p;
  }
};
