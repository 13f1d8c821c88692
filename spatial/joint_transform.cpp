#include "spatial/joint_transform.h"

namespace {

// 3x3 blocks of a spatial inertia, row-major.
using Block = double[3][3];

// m = Rz m (rows 0 and 1 turned by the joint angle).
inline void turnRowsZ(Block& m, double s, double c) {
  for (int j = 0; j < 3; ++j) {
    const double x = m[0][j], y = m[1][j];
    m[0][j] = c * x - s * y;
    m[1][j] = s * x + c * y;
  }
}

// m = m Rz^T (columns 0 and 1 turned by the joint angle).
inline void turnColsZ(Block& m, double s, double c) {
  for (int i = 0; i < 3; ++i) {
    const double x = m[i][0], y = m[i][1];
    m[i][0] = c * x - s * y;
    m[i][1] = s * x + c * y;
  }
}

// m = Rx m (rows 1 and 2 turned by the twist).
inline void turnRowsX(Block& m, double ts, double tc) {
  for (int j = 0; j < 3; ++j) {
    const double y = m[1][j], z = m[2][j];
    m[1][j] = tc * y - ts * z;
    m[2][j] = ts * y + tc * z;
  }
}

// m = m Rx^T (columns 1 and 2 turned by the twist).
inline void turnColsX(Block& m, double ts, double tc) {
  for (int i = 0; i < 3; ++i) {
    const double y = m[i][1], z = m[i][2];
    m[i][1] = tc * y - ts * z;
    m[i][2] = ts * y + tc * z;
  }
}

// out = [p x] m with p = (px, 0, pz).
inline void crossLeft(Block& out, const Block& m, double px, double pz) {
  for (int j = 0; j < 3; ++j) {
    out[0][j] = -pz * m[1][j];
    out[1][j] = pz * m[0][j] - px * m[2][j];
    out[2][j] = px * m[1][j];
  }
}

}  // namespace

void projectInertiaToParent(PackedInertia& out, const PackedInertia& IA, double offsetX,
                            double depth, double twistSin, double twistCos, double s, double c) {
  // Remove the joint direction: Ia(i, j) = IA(i, j) - (U_i / D) U_j, 0 <= i <= j <= 4.
  // Row and column 5 of Ia vanish and are not formed.
  const double invD = 1.0 / IA[20];
  const double U[5] = {IA[5], IA[10], IA[14], IA[17], IA[19]};
  const double W[5] = {U[0] * invD, U[1] * invD, U[2] * invD, U[3] * invD, U[4] * invD};
  const double a00 = IA[0] - W[0] * U[0], a01 = IA[1] - W[0] * U[1], a02 = IA[2] - W[0] * U[2];
  const double a11 = IA[6] - W[1] * U[1], a12 = IA[7] - W[1] * U[2];
  const double a22 = IA[11] - W[2] * U[2];
  const double b00 = IA[3] - W[0] * U[3], b01 = IA[4] - W[0] * U[4];
  const double b10 = IA[8] - W[1] * U[3], b11 = IA[9] - W[1] * U[4];
  const double b20 = IA[12] - W[2] * U[3], b21 = IA[13] - W[2] * U[4];
  const double c00 = IA[15] - W[3] * U[3], c01 = IA[16] - W[3] * U[4];
  const double c11 = IA[18] - W[4] * U[4];

  // Blocks of Ia: A linear-linear, B linear-angular, C angular-angular.
  Block A = {{a00, a01, a02}, {a01, a11, a12}, {a02, a12, a22}};
  Block B = {{b00, b01, 0.0}, {b10, b11, 0.0}, {b20, b21, 0.0}};
  Block C = {{c00, c01, 0.0}, {c01, c11, 0.0}, {0.0, 0.0, 0.0}};

  // Turn by the joint angle: M = Rz M Rz^T.
  turnRowsZ(A, s, c);
  turnColsZ(A, s, c);
  turnRowsZ(B, s, c);
  turnColsZ(B, s, c);
  turnRowsZ(C, s, c);
  turnColsZ(C, s, c);

  // Shift to the parent's origin by p = (offsetX, 0, -depth):
  //   B'' = B - A [p x],  C'' = C + [p x] B - B^T [p x] - [p x] A [p x]
  //       = C + [p x] B'' + ([p x] B)^T.
  const double px = offsetX, pz = -depth;
  Block PB, PB2;
  crossLeft(PB, B, px, pz);
  for (int i = 0; i < 3; ++i) {
    // (A [p x])(i, .) = (A(i,1) pz, -A(i,0) pz + A(i,2) px, -A(i,1) px)
    const double q0 = A[i][1] * pz;
    const double q1 = -A[i][0] * pz + A[i][2] * px;
    const double q2 = -A[i][1] * px;
    B[i][0] = B[i][0] - q0;
    B[i][1] = B[i][1] - q1;
    B[i][2] = B[i][2] - q2;
  }
  crossLeft(PB2, B, px, pz);
  for (int i = 0; i < 3; ++i) {
    for (int j = i; j < 3; ++j) {
      C[i][j] = C[i][j] + PB2[i][j] + PB[j][i];
      C[j][i] = C[i][j];
    }
  }

  // Turn by the twist: M = Rx M Rx^T.
  turnRowsX(A, twistSin, twistCos);
  turnColsX(A, twistSin, twistCos);
  turnRowsX(B, twistSin, twistCos);
  turnColsX(B, twistSin, twistCos);
  turnRowsX(C, twistSin, twistCos);
  turnColsX(C, twistSin, twistCos);

  // All 21 entries, row by row.
  out[0] = A[0][0];
  out[1] = A[0][1];
  out[2] = A[0][2];
  out[3] = B[0][0];
  out[4] = B[0][1];
  out[5] = B[0][2];
  out[6] = A[1][1];
  out[7] = A[1][2];
  out[8] = B[1][0];
  out[9] = B[1][1];
  out[10] = B[1][2];
  out[11] = A[2][2];
  out[12] = B[2][0];
  out[13] = B[2][1];
  out[14] = B[2][2];
  out[15] = C[0][0];
  out[16] = C[0][1];
  out[17] = C[0][2];
  out[18] = C[1][1];
  out[19] = C[1][2];
  out[20] = C[2][2];
}
