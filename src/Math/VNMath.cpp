/*
 * VNMath: 2D vectors, 3 x 3 affine matrices, angle conversion, single-precision
 * trigonometry and small scalar helpers. Square roots and trigonometry are evaluated in
 * double precision and rounded to float.
 */
#include "Math/VNMath.h"

#include <math.h>
#include <string.h>

/* Below this squared determinant a matrix counts as singular (|det| under about 1e-5). */
static const float kSingularDetSq = 9.9999994e-11f;

/* ---- Vectors ---------------------------------------------------------------------- */

void VNVec2Zero(VNVec2* result)
{
  result->x = 0.0f;
  result->y = 0.0f;
}

void VNVec2Set(VNVec2* result, float x, float y)
{
  result->x = x;
  result->y = y;
}

void VNVec2Neg(VNVec2* result, const VNVec2* a)
{
  result->x = -a->x;
  result->y = -a->y;
}

void VNVec2Add(VNVec2* result, const VNVec2* a, const VNVec2* b)
{
  result->x = a->x + b->x;
  result->y = a->y + b->y;
}

void VNVec2Sub(VNVec2* result, const VNVec2* a, const VNVec2* b)
{
  result->x = a->x - b->x;
  result->y = a->y - b->y;
}

void VNVec2Normalize(VNVec2* result, const VNVec2* a)
{
  float invLength = 1.0f / sqrtf(a->x * a->x + a->y * a->y);
  result->x = a->x * invLength;
  result->y = a->y * invLength;
}

void VNVec2Scale(VNVec2* result, const VNVec2* a, float s)
{
  result->x = a->x * s;
  result->y = a->y * s;
}

void VNVec2ScaleAdd(VNVec2* result, const VNVec2* a, const VNVec2* b, float s)
{
  result->x = a->x * s + b->x;
  result->y = a->y * s + b->y;
}

void VNVec2ScaleSub(VNVec2* result, const VNVec2* a, const VNVec2* b, float s)
{
  result->x = a->x * s - b->x;
  result->y = a->y * s - b->y;
}

void VNVec2Project(VNVec2* result, const VNVec2* a, const VNVec2* b)
{
  float invLength = 1.0f / sqrtf(b->x * b->x + b->y * b->y);
  float ux = b->x * invLength;
  float uy = b->y * invLength;
  float along = a->x * ux + a->y * uy;
  result->x = ux * along;
  result->y = uy * along;
}

void VNVec2ProjectPerp(VNVec2* result, const VNVec2* a, const VNVec2* b)
{
  float invLength = 1.0f / sqrtf(b->x * b->x + b->y * b->y);
  float ux = b->x * invLength;
  float uy = b->y * invLength;
  float along = a->x * ux + a->y * uy;
  result->x = a->x - ux * along;
  result->y = a->y - uy * along;
}

void VNVec2Lerp(VNVec2* result, const VNVec2* a, const VNVec2* b, float t)
{
  result->x = a->x + (b->x - a->x) * t;
  result->y = a->y + (b->y - a->y) * t;
}

float VNVec2Length(const VNVec2* a)
{
  return sqrtf(VNVec2SquareLength(a));
}

float VNVec2SquareLength(const VNVec2* a)
{
  return a->x * a->x + a->y * a->y;
}

float VNVec2Distance(const VNVec2* a, const VNVec2* b)
{
  return sqrtf(VNVec2SquareDistance(a, b));
}

float VNVec2SquareDistance(const VNVec2* a, const VNVec2* b)
{
  float dx = a->x - b->x;
  float dy = a->y - b->y;
  return dx * dx + dy * dy;
}

float VNVec2DotProduct(const VNVec2* a, const VNVec2* b)
{
  return a->x * b->x + a->y * b->y;
}

float VNVec2CrossProductMag(const VNVec2* a, const VNVec2* b)
{
  return a->x * b->y - a->y * b->x;
}

void VNVec2FromAngle(VNVec2* result, float angle)
{
  result->x = VNCos(angle);
  result->y = VNSin(angle);
}

/* ---- 3 x 3 matrices --------------------------------------------------------------- */

void VNMtx33Identity(VNMtx33* result)
{
  memset(result, 0, sizeof(*result));
  result->m[0][0] = 1.0f;
  result->m[1][1] = 1.0f;
  result->m[2][2] = 1.0f;
}

void VNMtx33Transpose(VNMtx33* result, const VNMtx33* mtx)
{
  VNMtx33 source = *mtx;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      result->m[row][col] = source.m[col][row];
}

float VNMtx33Determinant(const VNMtx33* mtx)
{
  const float(*m)[3] = mtx->m;
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) +
         m[0][1] * (m[1][2] * m[2][0] - m[1][0] * m[2][2]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

float VNMtx33Inverse(VNMtx33* result, const VNMtx33* mtx)
{
  float det = VNMtx33Determinant(mtx);
  if (det * det < kSingularDetSq)
    return 0.0f;

  const float(*m)[3] = mtx->m;
  VNMtx33 inverse;
  inverse.m[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
  inverse.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
  inverse.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
  inverse.m[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
  inverse.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
  inverse.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
  inverse.m[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
  inverse.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
  inverse.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
  *result = inverse;
  return det;
}

float VNMtx33InvTranspose(VNMtx33* result, const VNMtx33* mtx)
{
  VNMtx33 inverse;
  float det = VNMtx33Inverse(&inverse, mtx);
  if (det == 0.0f)
    return 0.0f;
  VNMtx33Transpose(result, &inverse);
  return det;
}

void VNMtx33Concat(VNMtx33* result, const VNMtx33* a, const VNMtx33* b)
{
  VNMtx33 product;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      product.m[row][col] =
          a->m[row][0] * b->m[0][col] + a->m[row][1] * b->m[1][col] + a->m[row][2] * b->m[2][col];
  *result = product;
}

void VNMtx33SetCol(VNMtx33* mtx, uint32_t col, const VNVec2* v)
{
  if (col > 2)
    return;
  float x = v->x;
  float y = v->y;
  mtx->m[0][col] = x;
  mtx->m[1][col] = y;
  mtx->m[2][col] = (col == 2) ? 1.0f : 0.0f;
}

void VNMtx33SetRow(VNMtx33* mtx, uint32_t row, const VNVec2* v)
{
  if (row > 2)
    return;
  float x = v->x;
  float y = v->y;
  mtx->m[row][0] = x;
  mtx->m[row][1] = y;
  mtx->m[row][2] = (row == 2) ? 1.0f : 0.0f;
}

void VNMtx33GetCol(VNVec2* result, const VNMtx33* mtx, uint32_t col)
{
  if (col > 2)
    return;
  result->x = mtx->m[0][col];
  result->y = mtx->m[1][col];
}

void VNMtx33GetRow(VNVec2* result, const VNMtx33* mtx, uint32_t row)
{
  if (row > 2)
    return;
  result->x = mtx->m[row][0];
  result->y = mtx->m[row][1];
}

void VNMtx33Trans(VNMtx33* result, float x, float y)
{
  VNMtx33Identity(result);
  result->m[0][2] = x;
  result->m[1][2] = y;
}

void VNMtx33TransApply(VNMtx33* result, const VNMtx33* mtx, float x, float y)
{
  *result = *mtx;
  result->m[0][2] += x;
  result->m[1][2] += y;
}

void VNMtx33Scale(VNMtx33* result, float x, float y)
{
  VNMtx33Identity(result);
  result->m[0][0] = x;
  result->m[1][1] = y;
}

void VNMtx33ScaleApply(VNMtx33* result, const VNMtx33* mtx, float x, float y)
{
  *result = *mtx;
  for (int col = 0; col < 3; ++col)
  {
    result->m[0][col] *= x;
    result->m[1][col] *= y;
  }
}

void VNMtx33Rot(VNMtx33* result, float angle)
{
  float c = VNCos(angle);
  float s = VNSin(angle);
  VNMtx33Identity(result);
  result->m[0][0] = c;
  result->m[0][1] = -s;
  result->m[1][0] = s;
  result->m[1][1] = c;
}

void VNMtx33RotDeg(VNMtx33* result, float angle)
{
  /* Converted with 3.1415 rather than pi, so 90 degrees leaves cos at about 4.6e-5;
       VNDegToRad is the exact conversion. */
  VNMtx33Rot(result, angle * 3.1415f / 180.0f);
}

void VNMtx33MultVec(VNVec2* result, const VNMtx33* mtx, const VNVec2* v)
{
  float x = v->x;
  float y = v->y;
  result->x = mtx->m[0][0] * x + mtx->m[0][1] * y + mtx->m[0][2];
  result->y = mtx->m[1][0] * x + mtx->m[1][1] * y + mtx->m[1][2];
}

void VNMtx33MultVecSR(VNVec2* result, const VNMtx33* mtx, const VNVec2* v)
{
  float x = v->x;
  float y = v->y;
  result->x = mtx->m[0][0] * x + mtx->m[0][1] * y;
  result->y = mtx->m[1][0] * x + mtx->m[1][1] * y;
}

void VNMtx33MultVecArray(VNVec2* result, const VNMtx33* mtx, const VNVec2* v, uint32_t count)
{
  for (uint32_t i = 0; i < count; ++i)
    VNMtx33MultVec(result + i, mtx, v + i);
}

void VNMtx33MultVecArraySR(VNVec2* result, const VNMtx33* mtx, const VNVec2* v, uint32_t count)
{
  for (uint32_t i = 0; i < count; ++i)
    VNMtx33MultVecSR(result + i, mtx, v + i);
}

/* ---- Scalars ---------------------------------------------------------------------- */

float VNDegToRad(float x)
{
  return x * 0.017453292f;
}

float VNRadToDeg(float x)
{
  return x * 57.295784f;
}

float VNSin(float x)
{
  return (float)sin((double)x);
}

float VNCos(float x)
{
  return (float)cos((double)x);
}

float VNTan(float x)
{
  return (float)tan((double)x);
}

float VNASin(float x)
{
  return (float)asin((double)x);
}

float VNACos(float x)
{
  return (float)acos((double)x);
}

float VNATan(float x)
{
  return (float)atan((double)x);
}

int VNIsPowOf2(uint32_t x)
{
  return (x != 0 && (x & (x - 1)) == 0) ? 1 : 0;
}

uint32_t VNNextPowOf2(uint32_t x)
{
  /* Fill every bit below the highest set bit, then carry into the next one up. */
  x |= x >> 1;
  x |= x >> 2;
  x |= x >> 4;
  x |= x >> 8;
  x |= x >> 16;
  return x + 1;
}

uint32_t VNLogBase2(uint32_t x)
{
  uint32_t result = 0;
  for (uint32_t high = x >> 1; high != 0; high >>= 1)
    ++result;
  return result;
}

float VNClamp(float x, float min, float max)
{
  if (x < min)
    return min;
  if (x > max)
    return max;
  return x;
}

float VNWrap(float x, float min, float max)
{
  if (x < min)
    return max - min + x;
  if (x > max)
    return x - (max - min);
  return x;
}

float VNMin(float a, float b)
{
  return (a < b) ? a : b;
}

float VNMax(float a, float b)
{
  return (b > a) ? b : a;
}

int VNInRange(float x, float min, float max)
{
  return (min <= x && x <= max) ? 1 : 0;
}
