// Value types of the spatial algebra: three-vectors, six-dimensional spatial vectors and
// inertias, each a plain record of doubles.
#pragma once

struct Vec3 {
  double x, y, z;
};

// Linear x, y, z then angular x, y, z. Component 5 is along the body's joint axis.
struct SpatialVector {
  double v[6];
  double& operator[](int i) { return v[i]; }
  const double& operator[](int i) const { return v[i]; }
};

// Rotational inertia about the body frame's origin (the joint), not the centre of mass.
struct RotInertia {
  double xx, xy, xz, yy, yz, zz;
};

// Symmetric 6x6 spatial inertia as its 21 upper-triangle entries, row by row:
//   row 0: 0..5, row 1: 6..10, row 2: 11..14, row 3: 15..17, row 4: 18..19, row 5: 20.
struct PackedInertia {
  double e[21];
  double& operator[](int i) { return e[i]; }
  const double& operator[](int i) const { return e[i]; }
};

// Index of entry (row, col) of a PackedInertia, for either triangle.
constexpr int packedIndex(int row, int col) {
  if (col < row) return packedIndex(col, row);
  constexpr int kRowStart[6] = {0, 6, 11, 15, 18, 20};
  return kRowStart[row] + (col - row);
}
