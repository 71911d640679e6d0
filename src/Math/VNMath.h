/*
 * VNMath: 2D vectors, 3 x 3 affine matrices, angle conversion, single-precision
 * trigonometry and small scalar helpers. Results are written through the pointer given
 * first, and every function reads its inputs before writing, so a caller may pass an
 * input as the result.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  typedef struct VNVec2
  {
    float x, y;
  } VNVec2;

  /*
 * A 2D affine transform, row-major: m[row][column]. The linear part is m[0][0], m[0][1],
 * m[1][0], m[1][1]; the translation is m[0][2] (x) and m[1][2] (y); the bottom row is
 * (0, 0, 1). Vectors are columns: a point p maps to M x (p.x, p.y, 1).
 */
  typedef struct VNMtx33
  {
    float m[3][3];
  } VNMtx33;

  /* ---- Vectors ---------------------------------------------------------------------- */

  void VNVec2Zero(VNVec2* result);
  void VNVec2Set(VNVec2* result, float x, float y);
  void VNVec2Neg(VNVec2* result, const VNVec2* a);
  void VNVec2Add(VNVec2* result, const VNVec2* a, const VNVec2* b);
  void VNVec2Sub(VNVec2* result, const VNVec2* a, const VNVec2* b);
  /* a / |a|; a zero vector gives NaN components. */
  void VNVec2Normalize(VNVec2* result, const VNVec2* a);
  void VNVec2Scale(VNVec2* result, const VNVec2* a, float s);
  /* a * s + b */
  void VNVec2ScaleAdd(VNVec2* result, const VNVec2* a, const VNVec2* b, float s);
  /* a * s - b */
  void VNVec2ScaleSub(VNVec2* result, const VNVec2* a, const VNVec2* b, float s);
  /* The part of a along b. */
  void VNVec2Project(VNVec2* result, const VNVec2* a, const VNVec2* b);
  /* The part of a perpendicular to b. */
  void VNVec2ProjectPerp(VNVec2* result, const VNVec2* a, const VNVec2* b);
  /* a + (b - a) * t; t is not clamped. */
  void VNVec2Lerp(VNVec2* result, const VNVec2* a, const VNVec2* b, float t);
  float VNVec2Length(const VNVec2* a);
  float VNVec2SquareLength(const VNVec2* a);
  float VNVec2Distance(const VNVec2* a, const VNVec2* b);
  float VNVec2SquareDistance(const VNVec2* a, const VNVec2* b);
  float VNVec2DotProduct(const VNVec2* a, const VNVec2* b);
  /* a.x * b.y - a.y * b.x: positive when b lies counter-clockwise of a. */
  float VNVec2CrossProductMag(const VNVec2* a, const VNVec2* b);
  /* (cos angle, sin angle), angle in radians. */
  void VNVec2FromAngle(VNVec2* result, float angle);

  /* ---- 3 x 3 matrices --------------------------------------------------------------- */

  void VNMtx33Identity(VNMtx33* result);
  void VNMtx33Transpose(VNMtx33* result, const VNMtx33* mtx);
  /* Returns the determinant; a singular mtx (|det| below about 1e-5) returns 0 and leaves
   result untouched. */
  float VNMtx33Inverse(VNMtx33* result, const VNMtx33* mtx);
  /* Transpose of the inverse. Returns the determinant; a singular mtx returns 0 and leaves
   result untouched. */
  float VNMtx33InvTranspose(VNMtx33* result, const VNMtx33* mtx);
  /* result = a x b */
  void VNMtx33Concat(VNMtx33* result, const VNMtx33* a, const VNMtx33* b);
  float VNMtx33Determinant(const VNMtx33* mtx);
  /* Column col becomes (v.x, v.y, 1 for column 2 else 0). An index above 2 does nothing. */
  void VNMtx33SetCol(VNMtx33* mtx, uint32_t col, const VNVec2* v);
  /* Row row becomes (v.x, v.y, 1 for row 2 else 0). An index above 2 does nothing. */
  void VNMtx33SetRow(VNMtx33* mtx, uint32_t row, const VNVec2* v);
  /* (m[0][col], m[1][col]). An index above 2 leaves result untouched. */
  void VNMtx33GetCol(VNVec2* result, const VNMtx33* mtx, uint32_t col);
  /* (m[row][0], m[row][1]). An index above 2 leaves result untouched. */
  void VNMtx33GetRow(VNVec2* result, const VNMtx33* mtx, uint32_t row);
  void VNMtx33Trans(VNMtx33* result, float x, float y);
  /* mtx with (x, y) added to its translation: translation x mtx for an affine mtx. */
  void VNMtx33TransApply(VNMtx33* result, const VNMtx33* mtx, float x, float y);
  void VNMtx33Scale(VNMtx33* result, float x, float y);
  /* diag(x, y, 1) x mtx */
  void VNMtx33ScaleApply(VNMtx33* result, const VNMtx33* mtx, float x, float y);
  /* Counter-clockwise rotation, angle in radians. */
  void VNMtx33Rot(VNMtx33* result, float angle);
  /* Counter-clockwise rotation, angle in degrees (converted with 3.1415 / 180). */
  void VNMtx33RotDeg(VNMtx33* result, float angle);
  /* mtx x (v.x, v.y, 1) */
  void VNMtx33MultVec(VNVec2* result, const VNMtx33* mtx, const VNVec2* v);
  /* mtx x (v.x, v.y, 0): scale and rotation only. */
  void VNMtx33MultVecSR(VNVec2* result, const VNMtx33* mtx, const VNVec2* v);
  /* VNMtx33MultVec over count vectors; result may be v. */
  void VNMtx33MultVecArray(VNVec2* result, const VNMtx33* mtx, const VNVec2* v, uint32_t count);
  /* VNMtx33MultVecSR over count vectors; result may be v. */
  void VNMtx33MultVecArraySR(VNVec2* result, const VNMtx33* mtx, const VNVec2* v, uint32_t count);

  /* ---- Scalars ---------------------------------------------------------------------- */

  float VNDegToRad(float x);
  float VNRadToDeg(float x);
  /* Evaluated in double precision and rounded to float. */
  float VNSin(float x);
  float VNCos(float x);
  float VNTan(float x);
  float VNASin(float x);
  float VNACos(float x);
  float VNATan(float x);

  /* 1 when x is a power of two (0 is not). */
  int VNIsPowOf2(uint32_t x);
  /* The smallest power of two strictly above x; 0 from 2^31 up (the sum wraps). */
  uint32_t VNNextPowOf2(uint32_t x);
  /* floor(log2 x); 0 for x = 0 and x = 1. */
  uint32_t VNLogBase2(uint32_t x);

  float VNClamp(float x, float min, float max);
  /* Wraps once by the width of [min, max]: a value more than one width outside stays outside. */
  float VNWrap(float x, float min, float max);
  /* a when a < b, else b. */
  float VNMin(float a, float b);
  /* b when b > a, else a. */
  float VNMax(float a, float b);
  /* 1 when min <= x <= max. */
  int VNInRange(float x, float min, float max);
}
