#include "spatial/joint_transform.h"

void projectInertiaToParent(PackedInertia& out, const PackedInertia& IA, double offsetX,
                            double depth, double twistSin, double twistCos, double s, double c) {
  // Remove the joint direction: Ia(i, j) = IA(i, j) - (U_i / D) U_j, 0 <= i <= j <= 4.
  // Row and column 5 of Ia vanish and are not formed. Blocks of Ia: A linear-linear (symmetric),
  // B linear-angular (its column 2 vanishes), C angular-angular (only its upper-left 2x2).
  const double invD = 1.0 / IA[20];
  const double U0 = IA[5], U1 = IA[10], U2 = IA[14], U3 = IA[17], U4 = IA[19];
  const double W0 = U0 * invD, W1 = U1 * invD, W2 = U2 * invD, W3 = U3 * invD, W4 = U4 * invD;
  const double a00 = IA[0] - W0 * U0, a01 = IA[1] - W0 * U1, a02 = IA[2] - W0 * U2;
  const double a11 = IA[6] - W1 * U1, a12 = IA[7] - W1 * U2, a22 = IA[11] - W2 * U2;
  const double b00 = IA[3] - W0 * U3, b01 = IA[4] - W0 * U4;
  const double b10 = IA[8] - W1 * U3, b11 = IA[9] - W1 * U4;
  const double b20 = IA[12] - W2 * U3, b21 = IA[13] - W2 * U4;
  const double c00 = IA[15] - W3 * U3, c01 = IA[16] - W3 * U4, c11 = IA[18] - W4 * U4;

  // Turn by the joint angle, M = Rz M Rz^T: rows 0 and 1, then columns 0 and 1.
  const double tA00 = c * a00 - s * a01, tA01 = c * a01 - s * a11, tA02 = c * a02 - s * a12;
  const double tA10 = s * a00 + c * a01, tA11 = s * a01 + c * a11, tA12 = s * a02 + c * a12;
  const double A00 = c * tA00 - s * tA01, A01 = s * tA00 + c * tA01, A02 = tA02;
  const double A11 = s * tA10 + c * tA11, A12 = tA12, A22 = a22;

  const double tB00 = c * b00 - s * b10, tB01 = c * b01 - s * b11;
  const double tB10 = s * b00 + c * b10, tB11 = s * b01 + c * b11;
  const double B00 = c * tB00 - s * tB01, B01 = s * tB00 + c * tB01;
  const double B10 = c * tB10 - s * tB11, B11 = s * tB10 + c * tB11;
  const double B20 = c * b20 - s * b21, B21 = s * b20 + c * b21;

  const double tC00 = c * c00 - s * c01, tC01 = c * c01 - s * c11;
  const double tC10 = s * c00 + c * c01, tC11 = s * c01 + c * c11;
  const double C00 = c * tC00 - s * tC01, C01 = s * tC00 + c * tC01, C11 = s * tC10 + c * tC11;

  // Shift to the parent's origin by p = (offsetX, 0, -depth), with P = [p x]:
  //   B' = B - A P,   C' = C + P B - B^T P - P A P = C + P B' + (P B)^T.
  const double px = offsetX, pz = -depth;
  const double sB00 = B00 - A01 * pz, sB01 = B01 - (A02 * px - A00 * pz), sB02 = A01 * px;
  const double sB10 = B10 - A11 * pz, sB11 = B11 - (A12 * px - A01 * pz), sB12 = A11 * px;
  const double sB20 = B20 - A12 * pz, sB21 = B21 - (A22 * px - A02 * pz), sB22 = A12 * px;
  // (P M)(0, j) = -pz M(1, j), (P M)(1, j) = pz M(0, j) - px M(2, j), (P M)(2, j) = px M(1, j)
  const double sC00 = C00 + -pz * sB10 + -pz * B10;
  const double sC01 = C01 + -pz * sB11 + (pz * B00 - px * B20);
  const double sC02 = -pz * sB12 + px * B10;
  const double sC11 = C11 + (pz * sB01 - px * sB21) + (pz * B01 - px * B21);
  const double sC12 = (pz * sB02 - px * sB22) + px * B11;
  const double sC22 = px * sB12;

  // Turn by the twist, M = Rx M Rx^T: rows 1 and 2, then columns 1 and 2.
  const double ts = twistSin, tc = twistCos;
  const double rA11 = tc * A11 - ts * A12, rA12 = tc * A12 - ts * A22;
  const double rA21 = ts * A11 + tc * A12, rA22 = ts * A12 + tc * A22;
  const double rC11 = tc * sC11 - ts * sC12, rC12 = tc * sC12 - ts * sC22;
  const double rC21 = ts * sC11 + tc * sC12, rC22 = ts * sC12 + tc * sC22;
  const double rB10 = tc * sB10 - ts * sB20, rB11 = tc * sB11 - ts * sB21,
               rB12 = tc * sB12 - ts * sB22;
  const double rB20 = ts * sB10 + tc * sB20, rB21 = ts * sB11 + tc * sB21,
               rB22 = ts * sB12 + tc * sB22;

  // All 21 entries, row by row.
  out[0] = A00;
  out[1] = tc * A01 - ts * A02;
  out[2] = ts * A01 + tc * A02;
  out[3] = sB00;
  out[4] = tc * sB01 - ts * sB02;
  out[5] = ts * sB01 + tc * sB02;
  out[6] = tc * rA11 - ts * rA12;
  out[7] = ts * rA11 + tc * rA12;
  out[8] = rB10;
  out[9] = tc * rB11 - ts * rB12;
  out[10] = ts * rB11 + tc * rB12;
  out[11] = ts * rA21 + tc * rA22;
  out[12] = rB20;
  out[13] = tc * rB21 - ts * rB22;
  out[14] = ts * rB21 + tc * rB22;
  out[15] = sC00;
  out[16] = tc * sC01 - ts * sC02;
  out[17] = ts * sC01 + tc * sC02;
  out[18] = tc * rC11 - ts * rC12;
  out[19] = ts * rC11 + tc * rC12;
  out[20] = ts * rC21 + tc * rC22;
}
