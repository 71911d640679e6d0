// 2D vectors, 3 x 3 matrices and the scalar helpers.
#include "Vorn.h"

#include <gtest/gtest.h>

#include <math.h>

namespace
{

const float kTol = 1e-5f;

VNMtx33 Filled(float value)
{
  return {{{value, value, value}, {value, value, value}, {value, value, value}}};
}

VNMtx33 Diagonal(float a, float b, float c)
{
  return {{{a, 0.0f, 0.0f}, {0.0f, b, 0.0f}, {0.0f, 0.0f, c}}};
}

// A rotation by 30 degrees, scaled by (2, 3), then moved to (5, -7).
VNMtx33 SomeAffine()
{
  VNMtx33 rot, scale, trans, m;
  VNMtx33Rot(&rot, 0.5235988f);
  VNMtx33Scale(&scale, 2.0f, 3.0f);
  VNMtx33Trans(&trans, 5.0f, -7.0f);
  VNMtx33Concat(&m, &scale, &rot);
  VNMtx33Concat(&m, &trans, &m);
  return m;
}

// Element by element; a tolerance of 0 asks for identical values.
void ExpectMtx(const VNMtx33& expected, const VNMtx33& actual, float tol = kTol)
{
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      EXPECT_NEAR(expected.m[row][col], actual.m[row][col], tol)
          << "at [" << row << "][" << col << "]";
}

void ExpectVec(float x, float y, const VNVec2& v, float tol = kTol)
{
  EXPECT_NEAR(x, v.x, tol);
  EXPECT_NEAR(y, v.y, tol);
}

} // namespace

TEST(Vec2, NormalizeGivesUnitLengthAndZeroGivesNaN)
{
  VNVec2 v = {3.0f, 4.0f};
  VNVec2Normalize(&v, &v);
  ExpectVec(0.6f, 0.8f, v);

  VNVec2 zero = {0.0f, 0.0f}, r;
  VNVec2Normalize(&r, &zero);
  EXPECT_TRUE(isnan(r.x));
  EXPECT_TRUE(isnan(r.y));
}

TEST(Vec2, ProjectionUsesTheUnitDirectionOfB)
{
  VNVec2 a = {1.0f, 1.0f}, b = {2.0f, 0.0f}, r;
  VNVec2ProjectPerp(&r, &a, &b);
  ExpectVec(0.0f, 1.0f, r);
  VNVec2Project(&r, &a, &b);
  ExpectVec(1.0f, 0.0f, r);

  // b's length must not scale the result, and the result may be a.
  VNVec2 c = {3.0f, 4.0f}, d = {0.0f, 5.0f};
  VNVec2Project(&c, &c, &d);
  ExpectVec(0.0f, 4.0f, c);
}

TEST(Vec2, ArithmeticOrderOfOperands)
{
  VNVec2 a = {1.0f, 2.0f}, b = {10.0f, 20.0f}, r;
  VNVec2ScaleAdd(&r, &a, &b, 3.0f);
  ExpectVec(13.0f, 26.0f, r);
  VNVec2ScaleSub(&r, &a, &b, 3.0f);
  ExpectVec(-7.0f, -14.0f, r);
  VNVec2Lerp(&r, &a, &b, 1.5f);
  ExpectVec(14.5f, 29.0f, r);

  EXPECT_FLOAT_EQ(0.0f, VNVec2CrossProductMag(&a, &a));
  VNVec2 xAxis = {1.0f, 0.0f}, yAxis = {0.0f, 1.0f};
  EXPECT_FLOAT_EQ(1.0f, VNVec2CrossProductMag(&xAxis, &yAxis));
  VNVec2 p = {4.0f, 6.0f};
  EXPECT_FLOAT_EQ(5.0f, VNVec2Distance(&a, &p));
  EXPECT_FLOAT_EQ(25.0f, VNVec2SquareDistance(&a, &p));
}

TEST(Mtx33, InverseOfDiagonalAndSingularMatrices)
{
  VNMtx33 m = Diagonal(2.0f, 4.0f, 1.0f);
  VNMtx33 r = Filled(9.0f);
  EXPECT_FLOAT_EQ(8.0f, VNMtx33Inverse(&r, &m));
  ExpectMtx(Diagonal(0.5f, 0.25f, 1.0f), r);

  // det = 1e-6 is below the threshold: 0 back and the result untouched.
  VNMtx33 tiny = Diagonal(1e-3f, 1e-3f, 1.0f);
  r = Filled(9.0f);
  EXPECT_EQ(0.0f, VNMtx33Inverse(&r, &tiny));
  ExpectMtx(Filled(9.0f), r, 0.0f);

  // det = 2e-5 is above it.
  VNMtx33 small = Diagonal(2e-5f, 1.0f, 1.0f);
  EXPECT_NEAR(2e-5f, VNMtx33Inverse(&r, &small), 1e-9f);
  EXPECT_NEAR(50000.0f, r.m[0][0], 0.5f);
}

TEST(Mtx33, InverseInPlaceUndoesTheTransform)
{
  VNMtx33 m = SomeAffine();
  VNMtx33 inverse = m;
  EXPECT_NEAR(6.0f, VNMtx33Inverse(&inverse, &inverse), 1e-4f);

  VNMtx33 product, identity;
  VNMtx33Identity(&identity);
  VNMtx33Concat(&product, &m, &inverse);
  ExpectMtx(identity, product);
  VNMtx33Concat(&product, &inverse, &m);
  ExpectMtx(identity, product);
}

TEST(Mtx33, InvTransposeIsTheTransposedInverseAndLeavesResultOnSingular)
{
  VNMtx33 m = SomeAffine();
  VNMtx33 inverse, expected, r;
  VNMtx33Inverse(&inverse, &m);
  VNMtx33Transpose(&expected, &inverse);
  EXPECT_NEAR(6.0f, VNMtx33InvTranspose(&r, &m), 1e-4f);
  ExpectMtx(expected, r);

  VNMtx33 singular = Filled(1.0f);
  r = m;
  EXPECT_EQ(0.0f, VNMtx33InvTranspose(&r, &singular));
  ExpectMtx(m, r, 0.0f);
}

TEST(Mtx33, ConcatAppliesTheRightMatrixFirstAndMayAlias)
{
  VNMtx33 trans, rot, r;
  VNMtx33Trans(&trans, 10.0f, 0.0f);
  VNMtx33Rot(&rot, 1.5707964f);
  VNMtx33Concat(&r, &trans, &rot);
  VNVec2 p = {1.0f, 0.0f};
  VNMtx33MultVec(&p, &r, &p);
  ExpectVec(10.0f, 1.0f, p);

  VNMtx33 intoA = trans, intoB = rot;
  VNMtx33Concat(&intoA, &intoA, &rot);
  VNMtx33Concat(&intoB, &trans, &intoB);
  ExpectMtx(r, intoA, 0.0f);
  ExpectMtx(r, intoB, 0.0f);

  VNMtx33 squared = rot;
  VNMtx33Concat(&squared, &squared, &squared);
  EXPECT_NEAR(-1.0f, squared.m[0][0], kTol);
  EXPECT_NEAR(-1.0f, squared.m[1][1], kTol);
}

TEST(Mtx33, RotDegUsesItsOwnPiApproximation)
{
  VNMtx33 r;
  VNMtx33RotDeg(&r, 90.0f);
  // cos(90 * 3.1415 / 180) = cos(1.57075), about 4.6e-5, where true pi gives ~0.
  EXPECT_NEAR(4.63e-5f, r.m[0][0], 1e-6f);
  EXPECT_NEAR(4.63e-5f, r.m[1][1], 1e-6f);
  EXPECT_NEAR(-1.0f, r.m[0][1], kTol);
  EXPECT_NEAR(1.0f, r.m[1][0], kTol);

  VNMtx33 exact;
  VNMtx33Rot(&exact, VNDegToRad(90.0f));
  EXPECT_LT(fabsf(exact.m[0][0]), 1e-6f);

  // Counter-clockwise for y up.
  VNVec2 p = {1.0f, 0.0f};
  VNMtx33RotDeg(&r, 30.0f);
  VNMtx33MultVec(&p, &r, &p);
  EXPECT_GT(p.y, 0.49f);
}

TEST(Mtx33, TransposeRowsAndColumns)
{
  VNMtx33 m = SomeAffine();
  VNMtx33 t = m;
  VNMtx33Transpose(&t, &t);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      EXPECT_EQ(m.m[col][row], t.m[row][col]);

  // Setting a column or row writes x, y and a 0 below (or 1 in the corner), nothing else.
  const VNVec2 v = {7.0f, 8.0f};
  VNMtx33 c = Filled(5.0f), r = Filled(5.0f);
  VNMtx33SetCol(&c, 1, &v);
  ExpectMtx({{{5, 7, 5}, {5, 8, 5}, {5, 0, 5}}}, c, 0.0f);
  VNMtx33SetCol(&c, 2, &v);
  EXPECT_EQ(1.0f, c.m[2][2]);
  VNMtx33SetRow(&r, 0, &v);
  ExpectMtx({{{7, 8, 0}, {5, 5, 5}, {5, 5, 5}}}, r, 0.0f);
  VNMtx33SetRow(&r, 2, &v);
  EXPECT_EQ(1.0f, r.m[2][2]);
  VNVec2 got;
  VNMtx33GetCol(&got, &c, 1);
  ExpectVec(7.0f, 8.0f, got, 0.0f);
  VNMtx33GetRow(&got, &r, 2);
  ExpectVec(7.0f, 8.0f, got, 0.0f);

  // An index past the matrix is ignored rather than written outside it.
  VNMtx33 after = Filled(5.0f);
  VNMtx33SetCol(&after, 3, &v);
  VNMtx33SetRow(&after, 7, &v);
  ExpectMtx(Filled(5.0f), after, 0.0f);
  got = {1.0f, 2.0f};
  VNMtx33GetRow(&got, &after, 3);
  EXPECT_EQ(1.0f, got.x);
}

TEST(Mtx33, ApplyFormsMatchConcatenation)
{
  VNMtx33 m = SomeAffine();
  VNMtx33 trans, scale, expected, r;

  VNMtx33Trans(&trans, 3.0f, -4.0f);
  VNMtx33Concat(&expected, &trans, &m);
  VNMtx33TransApply(&r, &m, 3.0f, -4.0f);
  ExpectMtx(expected, r);

  VNMtx33Scale(&scale, 0.5f, -2.0f);
  VNMtx33Concat(&expected, &scale, &m);
  r = m;
  VNMtx33ScaleApply(&r, &r, 0.5f, -2.0f);
  ExpectMtx(expected, r);
}

TEST(Mtx33, VectorArraysInPlaceAndScaleRotateIgnoresTranslation)
{
  VNMtx33 m = SomeAffine();
  VNVec2 points[3] = {{1.0f, 0.0f}, {0.0f, 1.0f}, {-2.0f, 3.0f}};
  VNVec2 expected[3], dirs[3];
  for (int i = 0; i < 3; ++i)
  {
    dirs[i] = points[i];
    VNMtx33MultVec(&expected[i], &m, &points[i]);
  }
  VNMtx33MultVecArray(points, &m, points, 3);
  VNMtx33MultVecArraySR(dirs, &m, dirs, 3);
  for (int i = 0; i < 3; ++i)
  {
    ExpectVec(expected[i].x, expected[i].y, points[i], 0.0f);
    ExpectVec(expected[i].x - m.m[0][2], expected[i].y - m.m[1][2], dirs[i], 1e-4f);
  }
}

TEST(Scalar, PowersOfTwoAndTheirWrap)
{
  const struct
  {
    unsigned int value, isPow, next, log;
  } cases[] = {
      {0, 0, 1, 0},
      {1, 1, 2, 0},
      {2, 1, 4, 1},
      {3, 0, 4, 1},
      {4, 1, 8, 2},
      {6, 0, 8, 2},
      {1023, 0, 1024, 9},
      {1024, 1, 2048, 10},
      {0x7FFFFFFFu, 0, 0x80000000u, 30},
      // Past the largest power of two the next one wraps to 0.
      {0x80000000u, 1, 0, 31},
      {0xFFFFFFFFu, 0, 0, 31},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(int(c.isPow), VNIsPowOf2(c.value));
    EXPECT_EQ(c.next, VNNextPowOf2(c.value));
    EXPECT_EQ(c.log, VNLogBase2(c.value));
  }
}

TEST(Scalar, WrapOnceRangesAndTies)
{
  EXPECT_FLOAT_EQ(10.0f, VNWrap(370.0f, 0.0f, 360.0f));
  EXPECT_FLOAT_EQ(350.0f, VNWrap(-10.0f, 0.0f, 360.0f));
  EXPECT_FLOAT_EQ(440.0f, VNWrap(800.0f, 0.0f, 360.0f)) << "wraps once only";
  EXPECT_FLOAT_EQ(360.0f, VNWrap(360.0f, 0.0f, 360.0f));
  EXPECT_FLOAT_EQ(0.0f, VNWrap(0.0f, 0.0f, 360.0f));
  EXPECT_FLOAT_EQ(-170.0f, VNWrap(190.0f, -180.0f, 180.0f));

  EXPECT_EQ(1.0f, VNClamp(5.0f, 0.0f, 1.0f));
  EXPECT_EQ(0.0f, VNClamp(-5.0f, 0.0f, 1.0f));
  EXPECT_EQ(0.5f, VNClamp(0.5f, 0.0f, 1.0f));
  EXPECT_EQ(1, VNInRange(1.0f, 0.0f, 1.0f));
  EXPECT_EQ(1, VNInRange(0.0f, 0.0f, 1.0f));
  EXPECT_EQ(0, VNInRange(1.0001f, 0.0f, 1.0f));

  // On ties Min returns its second argument and Max its first; +0 and -0 compare equal,
  // so the sign shows which argument came back.
  EXPECT_TRUE(signbit(VNMin(0.0f, -0.0f)));
  EXPECT_FALSE(signbit(VNMin(-0.0f, 0.0f)));
  EXPECT_TRUE(signbit(VNMax(-0.0f, 0.0f)));
  EXPECT_FALSE(signbit(VNMax(0.0f, -0.0f)));
  EXPECT_EQ(1.0f, VNMin(1.0f, 2.0f));
  EXPECT_EQ(2.0f, VNMax(1.0f, 2.0f));
}

TEST(Scalar, AngleConversionAndTrigonometry)
{
  EXPECT_NEAR(3.1415927f, VNDegToRad(180.0f), 1e-6f);
  EXPECT_NEAR(180.0f, VNRadToDeg(3.1415927f), 1e-4f);

  VNVec2 v;
  VNVec2FromAngle(&v, VNDegToRad(60.0f));
  ExpectVec(0.5f, 0.8660254f, v);
  EXPECT_NEAR(1.0f, VNTan(0.7853982f), kTol);
  EXPECT_NEAR(0.5235988f, VNASin(0.5f), kTol);
  EXPECT_NEAR(1.0471976f, VNACos(0.5f), kTol);
  EXPECT_NEAR(0.7853982f, VNATan(1.0f), kTol);
}
