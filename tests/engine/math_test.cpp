// Matrix math where a slip is easy (inverses, operand order, aliasing) and the
// collision queries at their edges: touching, ends of segments, misses, reflections.
#include "Vorn.h"

#include <gtest/gtest.h>

namespace
{

const float kTol = 1e-5f;
const VNVec2 kOrigin = {0.0f, 0.0f};
const VNVec2 kUntouched = {123.0f, 456.0f};
// The x axis from (0, 0) to (10, 0), front side up.
const VNLineSegment kFloor = {{0.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, 1.0f}, 0.0f};

void ExpectVec(float x, float y, const VNVec2& v, float tol = kTol)
{
  EXPECT_NEAR(x, v.x, tol);
  EXPECT_NEAR(y, v.y, tol);
}

void ExpectMtx(const VNMtx33& expected, const VNMtx33& actual, float tol = kTol)
{
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(expected.m[i / 3][i % 3], actual.m[i / 3][i % 3], tol) << "element " << i;
}

// A rotation by 30 degrees, scaled by (2, 3), then moved to (5, -7): determinant 6.
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

TEST(Math, InverseUndoesTheTransformInPlaceAndSingularMatricesLeaveTheResult)
{
  const VNMtx33 m = SomeAffine();
  VNMtx33 inverse = m, identity, product;
  EXPECT_NEAR(6.0f, VNMtx33Inverse(&inverse, &inverse), 1e-4f);
  VNMtx33Identity(&identity);
  VNMtx33Concat(&product, &m, &inverse);
  ExpectMtx(identity, product);
  VNMtx33Concat(&product, &inverse, &m);
  ExpectMtx(identity, product);

  // det 1e-6 is too small to invert: 0 back and the result as it was.
  const VNMtx33 tiny = {{{1e-3f, 0, 0}, {0, 1e-3f, 0}, {0, 0, 1}}};
  VNMtx33 result = m;
  EXPECT_EQ(0.0f, VNMtx33Inverse(&result, &tiny));
  EXPECT_EQ(0.0f, VNMtx33InvTranspose(&result, &tiny));
  ExpectMtx(m, result, 0.0f);
}

TEST(Math, ConcatAppliesTheRightMatrixFirstAndMayWriteIntoAnOperand)
{
  VNMtx33 trans, rot, r;
  VNMtx33Trans(&trans, 10.0f, 0.0f);
  VNMtx33RotDeg(&rot, 90.0f);
  VNMtx33Concat(&r, &trans, &rot);
  VNVec2 p = {1.0f, 0.0f};
  VNMtx33MultVec(&p, &r, &p);
  ExpectVec(10.0f, 1.0f, p, 1e-4f); // turned counter-clockwise, then moved

  VNMtx33 intoA = trans, intoB = rot;
  VNMtx33Concat(&intoA, &intoA, &rot);
  VNMtx33Concat(&intoB, &trans, &intoB);
  ExpectMtx(r, intoA, 0.0f);
  ExpectMtx(r, intoB, 0.0f);
}

TEST(Collision, OverlapTestsAtTouchingAndRectangleDepthNormals)
{
  const VNVec2 side = {10.0f, 0.0f}, border = {5.0f, 0.0f}, p = {3.0f, 4.0f};
  EXPECT_EQ(1, VNTestRectToRect(&kOrigin, 10.0f, 2.0f, &side, 10.0f, 2.0f));
  EXPECT_EQ(1, VNTestPointToRect(&border, &kOrigin, 10.0f, 4.0f));
  EXPECT_EQ(1, VNTestPointToCircle(&p, &kOrigin, 5.0f));
  EXPECT_EQ(1, VNTestCircleToCircle(&kOrigin, 2.0f, &p, 3.0f));
  EXPECT_EQ(0, VNTestCircleToRect(&border, 0.0f, &kOrigin, 10.0f, 4.0f)) << "strict";
  EXPECT_EQ(1, VNTestCircleToRect(&border, 0.1f, &kOrigin, 10.0f, 4.0f));
  EXPECT_FLOAT_EQ(-2.0f, VNCalcDistPointToRect(&kOrigin, &kOrigin, 10.0f, 4.0f));
  const VNVec2 corner = {8.0f, 6.0f};
  EXPECT_FLOAT_EQ(5.0f, VNCalcDistPointToRect(&corner, &kOrigin, 10.0f, 4.0f));

  // Depth along the shallow axis (x on a tie), normal pointing at the first rectangle;
  // touching rectangles have no depth and leave the normal alone.
  const struct
  {
    VNVec2 second;
    float depth;
    VNVec2 normal;
  } cases[] = {{{8, 1}, -2, {-1, 0}}, {{-8, 1}, -2, {1, 0}}, {{1, 8}, -2, {0, -1}},
               {{1, -8}, -2, {0, 1}}, {{8, 8}, -2, {-1, 0}}, {{10, 0}, 0, kUntouched}};
  for (const auto& c : cases)
  {
    VNVec2 normal = kUntouched;
    EXPECT_FLOAT_EQ(c.depth,
                    VNCalcDistRectToRect(&kOrigin, 10.0f, 10.0f, &c.second, 10.0f, 10.0f, &normal))
        << c.second.x << ", " << c.second.y;
    ExpectVec(c.normal.x, c.normal.y, normal);
  }
}

TEST(Collision, SweptPointCrossesASegmentOnlyBetweenItsEnds)
{
  const struct
  {
    VNVec2 ps, pe;
    float t;
    VNVec2 hit;
  } cases[] = {
      {{5, 5}, {5, -5}, 0.5f, {5, 0}},          {{5, -5}, {5, 5}, 0.5f, {5, 0}}, // from behind
      {{5, 5}, {5, 0}, 1.0f, {5, 0}},           {{0, 5}, {0, -5}, 0.5f, {0, 0}}, // at an end
      {{10, 5}, {10, -5}, 0.5f, {10, 0}},       {{5, 5}, {15, 5}, -1, kUntouched},
      {{2, 0}, {8, 0}, -1, kUntouched},         {{12, 5}, {12, -5}, -1, kUntouched},
      {{-0.5f, 5}, {-0.5f, -5}, -1, kUntouched}};
  for (const auto& c : cases)
  {
    VNVec2 hit = kUntouched;
    EXPECT_FLOAT_EQ(c.t, VNAnimatedPointToStaticLineSegment(&c.ps, &c.pe, &kFloor, &hit))
        << "(" << c.ps.x << ", " << c.ps.y << ") to (" << c.pe.x << ", " << c.pe.y << ")";
    ExpectVec(c.hit.x, c.hit.y, hit);
  }

  // 3 across and 2 down are left after the hit at (4, 0): they turn upward.
  VNVec2 ps = {1.0f, 4.0f}, pe = {7.0f, -4.0f}, hit, reflected = kUntouched;
  EXPECT_FLOAT_EQ(0.5f,
                  VNReflectAnimatedPointOnStaticLineSegment(&ps, &pe, &kFloor, &hit, &reflected));
  ExpectVec(3.0f, 4.0f, reflected);

  // A circle stops on the near face; leaving the line while overlapping it is no hit.
  ps = {5.0f, 5.0f};
  pe = {5.0f, -5.0f};
  EXPECT_FLOAT_EQ(0.4f, VNAnimatedCircleToStaticLineSegment(&ps, &pe, 1.0f, &kFloor, &hit));
  ExpectVec(5.0f, 1.0f, hit);
  const VNVec2 inside = {5.0f, 0.5f}, leaving = {5.0f, 0.7f};
  EXPECT_EQ(-1.0f, VNAnimatedCircleToStaticLineSegment(&inside, &leaving, 1.0f, &kFloor, &hit));
}

TEST(Collision, SweptTestsAgainstCircles)
{
  // Radius 5 at the origin, reached at (-4, 3) after 6 of 20 units.
  const VNVec2 ps = {-10.0f, 3.0f}, pe = {10.0f, 3.0f};
  VNVec2 hit, reflected;
  EXPECT_FLOAT_EQ(0.3f,
                  VNReflectAnimatedPointOnStaticCircle(&ps, &pe, &kOrigin, 5.0f, &hit, &reflected));
  ExpectVec(-4.0f, 3.0f, hit);
  ExpectVec(-1.68f, 5.76f, reflected, 1e-4f);

  // No hit: behind the start (outside or inside), short of it, no motion at all.
  const struct
  {
    VNVec2 ps, pe;
  } misses[] = {{{3, 0}, {10, 0}}, {{1, 0}, {10, 0}}, {{-10, 0}, {-8, 0}}, {{0.5f, 0}, {0.5f, 0}}};
  for (const auto& m : misses)
    EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&m.ps, &m.pe, &kOrigin, 2.0f, &hit)) << m.ps.x;
}

} // namespace
