// Spatial operations within one body's frame: rigid momentum, inertia and gravity force,
// sums over child lists, and the joint-axis component. Output first, inputs after; every
// output component is written; nothing is allocated.
#pragma once

#include "spatial/child_list.h"
#include "spatial/spatial_types.h"

//---- sums over child lists ----

// out = own + every child vector, children added in list order.
inline void sumWithChildren(SpatialVector& out, const SpatialVector& own,
                            const ChildList<SpatialVector>& children) {
  out = own;
  for (const SpatialVector* child : children) {
    const SpatialVector& c = *child;
    out[0] = out[0] + c[0];
    out[1] = out[1] + c[1];
    out[2] = out[2] + c[2];
    out[3] = out[3] + c[3];
    out[4] = out[4] + c[4];
    out[5] = out[5] + c[5];
  }
}

// out = sum of the child vectors; zero for an empty list.
inline void sumChildren(SpatialVector& out, const ChildList<SpatialVector>& children) {
  sumWithChildren(out, SpatialVector{{0.0, 0.0, 0.0, 0.0, 0.0, 0.0}}, children);
}

//---- rigid body ----

// Momentum of a rigid body about its frame origin: (m (v + w x c), m (c x v) + I w).
inline void rigidMomentum(SpatialVector& out, double m, const RotInertia& I, const Vec3& c,
                          const SpatialVector& velocity) {
  const double vx = velocity[0], vy = velocity[1], vz = velocity[2];
  const double wx = velocity[3], wy = velocity[4], wz = velocity[5];
  out[0] = m * (vx + wy * c.z) - m * wz * c.y;
  out[1] = m * vy - m * wx * c.z + m * wz * c.x;
  out[2] = m * (vz + wx * c.y) - m * wy * c.x;
  out[3] = m * (c.y * vz - c.z * vy) + (I.xx * wx + I.xy * wy + I.xz * wz);
  out[4] = m * (c.z * vx - c.x * vz) + (I.xy * wx + I.yy * wy + I.yz * wz);
  out[5] = m * (c.x * vy - c.y * vx) + (I.xz * wx + I.yz * wy + I.zz * wz);
}

// out = rigid spatial inertia [[m 1, -m [c x]], [m [c x], I]] plus every child inertia.
inline void assembleInertia(PackedInertia& out, const ChildList<PackedInertia>& children, double m,
                            const RotInertia& I, const Vec3& c) {
  // row 0
  out[0] = m;
  out[1] = 0.0;
  out[2] = 0.0;
  out[3] = 0.0;
  out[4] = m * c.z;
  out[5] = -m * c.y;
  // row 1
  out[6] = m;
  out[7] = 0.0;
  out[8] = -m * c.z;
  out[9] = 0.0;
  out[10] = m * c.x;
  // row 2
  out[11] = m;
  out[12] = m * c.y;
  out[13] = -m * c.x;
  out[14] = 0.0;
  // rows 3 to 5: the rotational inertia
  out[15] = I.xx;
  out[16] = I.xy;
  out[17] = I.xz;
  out[18] = I.yy;
  out[19] = I.yz;
  out[20] = I.zz;
  for (const PackedInertia* child : children) {
    for (int i = 0; i < 21; ++i) out[i] = out[i] + (*child)[i];
  }
}

// Force scale * direction applied at point: (f, point x f).
inline void pointForce(SpatialVector& out, const Vec3& direction, const Vec3& point, double scale) {
  const double fx = scale * direction.x, fy = scale * direction.y, fz = scale * direction.z;
  out[0] = fx;
  out[1] = fy;
  out[2] = fz;
  out[3] = point.y * fz - point.z * fy;
  out[4] = point.z * fx - point.x * fz;
  out[5] = point.x * fy - point.y * fx;
}

//---- joint-axis component ----

// out = component 5, the part along the joint axis.
inline void jointComponent(double& out, const SpatialVector& vector) {
  out = vector[5];
}

// out = vector with rate added to component 5.
inline void addJointRate(SpatialVector& out, const SpatialVector& vector, const double* rate) {
  out[0] = vector[0];
  out[1] = vector[1];
  out[2] = vector[2];
  out[3] = vector[3];
  out[4] = vector[4];
  out[5] = vector[5] + *rate;
}
