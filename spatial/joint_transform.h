// Carrying spatial quantities across a joint. A joint places the child frame in its parent:
// twist about x by alpha (twistSin, twistCos), move offsetX along x and depth along -z, then
// turn about the new z axis (the joint axis) by the joint angle (s = sin, c = cos). With
// R = Rx Rz and r = Rx (offsetX, 0, -depth) a child point u is R u + r in the parent.
// Rotations are applied as plane rotations on two components at a time.
#pragma once

#include "spatial/spatial_types.h"

struct JointFrame {
  double offsetX, depth, twistSin, twistCos;
};

// Force-type vector from the child frame to the parent: (R f, R n + r x R f).
inline void forceToParentFrame(SpatialVector& out, const SpatialVector& force, double offsetX,
                               double depth, double twistSin, double twistCos, double s, double c) {
  // turn by the joint angle
  const double fx = c * force[0] - s * force[1];
  const double fy = s * force[0] + c * force[1];
  const double fz = force[2];
  const double nx0 = c * force[3] - s * force[4];
  const double ny0 = s * force[3] + c * force[4];
  const double nz0 = force[5];
  // moment about the parent's origin: n + p x f, p = (offsetX, 0, -depth)
  const double nx = nx0 + depth * fy;
  const double ny = ny0 - depth * fx - offsetX * fz;
  const double nz = nz0 + offsetX * fy;
  // turn by the twist
  out[0] = fx;
  out[1] = twistCos * fy - twistSin * fz;
  out[2] = twistSin * fy + twistCos * fz;
  out[3] = nx;
  out[4] = twistCos * ny - twistSin * nz;
  out[5] = twistSin * ny + twistCos * nz;
}

// Motion vector from the parent frame to the child: (R^T (v + w x r), R^T w).
inline void motionToChildFrame(SpatialVector& out, const SpatialVector& motion, double offsetX,
                               double depth, double twistSin, double twistCos, double s, double c) {
  // undo the twist
  const double vx0 = motion[0];
  const double vy0 = twistCos * motion[1] + twistSin * motion[2];
  const double vz0 = -twistSin * motion[1] + twistCos * motion[2];
  const double wx = motion[3];
  const double wy = twistCos * motion[4] + twistSin * motion[5];
  const double wz = -twistSin * motion[4] + twistCos * motion[5];
  // velocity of the child origin: v + w x p
  const double vx = vx0 - depth * wy;
  const double vy = vy0 + offsetX * wz + depth * wx;
  const double vz = vz0 - offsetX * wy;
  // undo the joint angle
  out[0] = c * vx + s * vy;
  out[1] = -s * vx + c * vy;
  out[2] = vz;
  out[3] = c * wx + s * wy;
  out[4] = -s * wx + c * wy;
  out[5] = wz;
}

// Three-vector from the parent frame to the child: R^T u.
inline void rotateToChild(Vec3& out, const Vec3& u, double twistSin, double twistCos, double s,
                          double c) {
  const double x = u.x;
  const double y = twistCos * u.y + twistSin * u.z;
  const double z = -twistSin * u.y + twistCos * u.z;
  out.x = c * x + s * y;
  out.y = -s * x + c * y;
  out.z = z;
}

// out = X^T Ia X: the articulated inertia with the joint direction removed,
// Ia = IA - U U^T / D (U = column 5 of IA, D = IA(5,5)), moved to the parent frame.
void projectInertiaToParent(PackedInertia& out, const PackedInertia& IA, double offsetX,
                            double depth, double twistSin, double twistCos, double s, double c);

// out = X^T (b + U (P - b[5]) / D): the articulated-body bias for a joint whose generalized
// momentum is P, moved to the parent frame. Component 5 before the move is P exactly.
inline void biasToParentFrame(SpatialVector& out, const SpatialVector& b, const PackedInertia& IA,
                              double P, double offsetX, double depth, double twistSin,
                              double twistCos, double s, double c) {
  const double u = (P - b[5]) / IA[20];
  const SpatialVector w = {{b[0] + u * IA[5], b[1] + u * IA[10], b[2] + u * IA[14],
                            b[3] + u * IA[17], b[4] + u * IA[19], P}};
  forceToParentFrame(out, w, offsetX, depth, twistSin, twistCos, s, c);
}
