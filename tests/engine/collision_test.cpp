// Distances, overlap tests and swept tests: signs, touching cases and reflections.
#include "Vorn.h"

#include <gtest/gtest.h>

#include <math.h>

namespace
{

const float kTol = 1e-5f;
const VNVec2 kOrigin = {0.0f, 0.0f};
const VNVec2 kUntouched = {123.0f, 456.0f};

// The x axis from (0, 0) to (10, 0), front side up.
const VNLineSegment kFloor = {{0.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, 1.0f}, 0.0f};

VNVec2 V(float x, float y)
{
  return {x, y};
}

void ExpectVec(float x, float y, const VNVec2& v, float tol = kTol)
{
  EXPECT_NEAR(x, v.x, tol);
  EXPECT_NEAR(y, v.y, tol);
}

// An output a query must leave alone when it reports no hit.
void ExpectUntouched(const VNVec2& v)
{
  ExpectVec(kUntouched.x, kUntouched.y, v, 0.0f);
}

} // namespace

TEST(Collision, RectToRectTouchingOverlapsButHasNoDepth)
{
  VNVec2 c1 = V(10.0f, 0.0f), c2 = V(0.0f, 3.0f);
  EXPECT_EQ(1, VNTestRectToRect(&kOrigin, 10.0f, 2.0f, &c1, 10.0f, 2.0f));
  EXPECT_EQ(0, VNTestRectToRect(&kOrigin, 10.0f, 2.0f, &c2, 10.0f, 2.0f));

  VNVec2 normal = kUntouched;
  VNVec2 apart = V(10.0f, 0.0f);
  EXPECT_EQ(0.0f, VNCalcDistRectToRect(&kOrigin, 10.0f, 10.0f, &apart, 10.0f, 10.0f, &normal));
  ExpectUntouched(normal);
}

TEST(Collision, RectToRectDepthPicksTheShallowAxisAndPointsAtTheFirst)
{
  struct Case
  {
    VNVec2 second;
    float depth;
    VNVec2 normal;
  } cases[] = {
      {{8.0f, 1.0f}, -2.0f, {-1.0f, 0.0f}},
      {{-8.0f, 1.0f}, -2.0f, {1.0f, 0.0f}},
      {{1.0f, 8.0f}, -2.0f, {0.0f, -1.0f}},
      {{1.0f, -8.0f}, -2.0f, {0.0f, 1.0f}},
      {{7.0f, 8.0f}, -2.0f, {0.0f, -1.0f}},
      // Equal depths on both axes: x is kept.
      {{8.0f, 8.0f}, -2.0f, {-1.0f, 0.0f}},
      {{-8.0f, -8.0f}, -2.0f, {1.0f, 0.0f}},
  };
  for (const Case& c : cases)
  {
    VNVec2 normal = kUntouched;
    EXPECT_FLOAT_EQ(c.depth,
                    VNCalcDistRectToRect(&kOrigin, 10.0f, 10.0f, &c.second, 10.0f, 10.0f, &normal))
        << "second at (" << c.second.x << ", " << c.second.y << ")";
    ExpectVec(c.normal.x, c.normal.y, normal);
  }
  VNVec2 second = V(8.0f, 1.0f);
  EXPECT_FLOAT_EQ(-2.0f,
                  VNCalcDistRectToRect(&kOrigin, 10.0f, 10.0f, &second, 10.0f, 10.0f, nullptr));
}

TEST(Collision, PointToRectIsMinusTheNearestEdgeInsideAndEuclideanOutside)
{
  // A 10 x 4 rectangle at the origin.
  const struct
  {
    VNVec2 p;
    float dist;
  } cases[] = {
      {{1.0f, 0.0f}, -2.0f}, {{-4.0f, 0.5f}, -1.0f}, {{8.0f, 6.0f}, 5.0f}, {{0.0f, -7.0f}, 5.0f}};
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(c.dist, VNCalcDistPointToRect(&c.p, &kOrigin, 10.0f, 4.0f))
        << c.p.x << ", " << c.p.y;

  VNVec2 border = V(5.0f, 0.0f);
  float onBorder = VNCalcDistPointToRect(&border, &kOrigin, 10.0f, 4.0f);
  EXPECT_EQ(0.0f, onBorder);
  EXPECT_TRUE(signbit(onBorder));
  EXPECT_EQ(1, VNTestPointToRect(&border, &kOrigin, 10.0f, 4.0f));

  VNVec2 circle = V(8.0f, 0.0f);
  EXPECT_FLOAT_EQ(1.0f, VNCalcDistCircleToRect(&circle, 2.0f, &kOrigin, 10.0f, 4.0f));
}

TEST(Collision, CircleToRectIsStrictWhileOtherTestsAcceptTouching)
{
  VNVec2 border = V(5.0f, 0.0f);
  EXPECT_EQ(0, VNTestCircleToRect(&border, 0.0f, &kOrigin, 10.0f, 4.0f));
  EXPECT_EQ(1, VNTestCircleToRect(&border, 0.1f, &kOrigin, 10.0f, 4.0f));
  VNVec2 outside = V(7.0f, 0.0f);
  EXPECT_EQ(0, VNTestCircleToRect(&outside, 2.0f, &kOrigin, 10.0f, 4.0f));
  EXPECT_EQ(1, VNTestCircleToRect(&outside, 2.001f, &kOrigin, 10.0f, 4.0f));

  VNVec2 p = V(3.0f, 4.0f);
  EXPECT_EQ(1, VNTestPointToCircle(&p, &kOrigin, 5.0f));
  EXPECT_EQ(0, VNTestPointToCircle(&p, &kOrigin, 4.999f));
  EXPECT_EQ(1, VNTestCircleToCircle(&kOrigin, 2.0f, &p, 3.0f));
  EXPECT_EQ(0, VNTestCircleToCircle(&kOrigin, 2.0f, &p, 2.999f));
  EXPECT_FLOAT_EQ(-1.0f, VNCalcDistCircleToCircle(&kOrigin, 2.0f, &p, 4.0f));
  EXPECT_FLOAT_EQ(1.0f, VNCalcDistPointToCircle(&p, &kOrigin, 4.0f));
}

TEST(Collision, PointToSegmentDistanceByRegionAndToItsLineByTheNormal)
{
  // Beside the segment, before its start, past its end, on it.
  const struct
  {
    VNVec2 p;
    float dist;
  } cases[] = {
      {{5.0f, 3.0f}, 3.0f}, {{-4.0f, 3.0f}, 5.0f}, {{13.0f, -4.0f}, 5.0f}, {{5.0f, 0.0f}, 0.0f}};
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(c.dist, VNCalcDistPointToLineSeg(&c.p, &kFloor.p0, &kFloor.p1))
        << c.p.x << ", " << c.p.y;

  // A segment shorter than 1e-5 is its first end.
  VNVec2 shortEnd = V(1e-6f, 0.0f), p = V(3.0f, 4.0f);
  EXPECT_FLOAT_EQ(5.0f, VNCalcDistPointToLineSeg(&p, &kOrigin, &shortEnd));

  // Against the infinite line through the segment, signed by its normal.
  VNVec2 above = V(3.0f, 2.0f), below = V(30.0f, -2.5f);
  EXPECT_FLOAT_EQ(2.0f, VNStaticPointToStaticLineSegment(&above, &kFloor));
  EXPECT_FLOAT_EQ(-2.5f, VNStaticPointToStaticLineSegment(&below, &kFloor));
}

TEST(Collision, AnimatedPointCrossesSegmentsOnlyWithinTheirEnds)
{
  VNVec2 hit = kUntouched;
  VNVec2 ps = V(5.0f, 5.0f), pe = V(5.0f, -5.0f);
  EXPECT_FLOAT_EQ(0.5f, VNAnimatedPointToStaticLineSegment(&ps, &pe, &kFloor, &hit));
  ExpectVec(5.0f, 0.0f, hit);

  // From behind, and ending exactly on the line.
  hit = kUntouched;
  EXPECT_FLOAT_EQ(0.5f, VNAnimatedPointToStaticLineSegment(&pe, &ps, &kFloor, &hit));
  ExpectVec(5.0f, 0.0f, hit);
  VNVec2 onLine = V(5.0f, 0.0f);
  EXPECT_FLOAT_EQ(1.0f, VNAnimatedPointToStaticLineSegment(&ps, &onLine, &kFloor, &hit));

  // Crossing at an end counts; past it does not.
  for (float x : {0.0f, 10.0f})
  {
    VNVec2 endStart = V(x, 5.0f), endEnd = V(x, -5.0f);
    EXPECT_FLOAT_EQ(0.5f, VNAnimatedPointToStaticLineSegment(&endStart, &endEnd, &kFloor, &hit))
        << "at x = " << x;
  }

  struct Miss
  {
    VNVec2 ps, pe;
  } misses[] = {
      {{5.0f, 5.0f}, {15.0f, 5.0f}},   // both ends in front
      {{5.0f, -5.0f}, {8.0f, -1.0f}},  // both ends behind
      {{2.0f, 0.0f}, {8.0f, 0.0f}},    // along the line
      {{12.0f, 5.0f}, {12.0f, -5.0f}}, // beyond the end
      {{-0.5f, 5.0f}, {-0.5f, -5.0f}}, // before the start
  };
  for (const Miss& m : misses)
  {
    hit = kUntouched;
    EXPECT_EQ(-1.0f, VNAnimatedPointToStaticLineSegment(&m.ps, &m.pe, &kFloor, &hit))
        << "(" << m.ps.x << ", " << m.ps.y << ") to (" << m.pe.x << ", " << m.pe.y << ")";
    ExpectUntouched(hit);
  }
}

TEST(Collision, ReflectionOffASegmentTurnsTheRemainingMotion)
{
  VNVec2 hit, reflected = kUntouched;
  VNVec2 ps = V(5.0f, 5.0f), pe = V(5.0f, -5.0f);
  EXPECT_FLOAT_EQ(0.5f,
                  VNReflectAnimatedPointOnStaticLineSegment(&ps, &pe, &kFloor, &hit, &reflected));
  ExpectVec(0.0f, 5.0f, reflected);

  // At an angle: 3 across and 2 down are left after the hit.
  ps = V(1.0f, 4.0f);
  pe = V(7.0f, -4.0f);
  EXPECT_FLOAT_EQ(0.5f,
                  VNReflectAnimatedPointOnStaticLineSegment(&ps, &pe, &kFloor, &hit, &reflected));
  ExpectVec(4.0f, 0.0f, hit);
  ExpectVec(3.0f, 4.0f, reflected);

  // A hit exactly at the start is reported but not reflected.
  reflected = kUntouched;
  VNVec2 onLine = V(5.0f, 0.0f);
  EXPECT_EQ(0.0f,
            VNReflectAnimatedPointOnStaticLineSegment(&onLine, &pe, &kFloor, &hit, &reflected));
  ExpectUntouched(reflected);

  VNVec2 far = V(20.0f, 5.0f), farEnd = V(20.0f, -5.0f);
  EXPECT_EQ(-1.0f,
            VNReflectAnimatedPointOnStaticLineSegment(&far, &farEnd, &kFloor, &hit, &reflected));
  ExpectUntouched(reflected);
}

TEST(Collision, AnimatedCircleTouchesTheNearFaceOfASegment)
{
  VNVec2 hit, reflected;
  VNVec2 ps = V(5.0f, 5.0f), pe = V(5.0f, -5.0f);
  EXPECT_FLOAT_EQ(0.4f, VNAnimatedCircleToStaticLineSegment(&ps, &pe, 1.0f, &kFloor, &hit));
  ExpectVec(5.0f, 1.0f, hit);
  EXPECT_FLOAT_EQ(0.4f, VNAnimatedCircleToStaticLineSegment(&pe, &ps, 1.0f, &kFloor, &hit));
  ExpectVec(5.0f, -1.0f, hit);

  EXPECT_FLOAT_EQ(
      0.4f, VNReflectAnimatedCircleOnStaticLineSegment(&ps, &pe, 1.0f, &kFloor, &hit, &reflected));
  ExpectVec(0.0f, 6.0f, reflected);

  // Stopping short of the thickened line is no hit, and neither is moving away from the
  // line while already overlapping it.
  VNVec2 shortOf = V(5.0f, 1.5f);
  VNVec2 overlapping = V(5.0f, 0.5f), leaving = V(5.0f, 0.7f);
  hit = kUntouched;
  EXPECT_EQ(-1.0f, VNAnimatedCircleToStaticLineSegment(&ps, &shortOf, 1.0f, &kFloor, &hit));
  EXPECT_EQ(-1.0f,
            VNAnimatedCircleToStaticLineSegment(&overlapping, &leaving, 1.0f, &kFloor, &hit));
  ExpectUntouched(hit);
}

TEST(Collision, AnimatedPointToCircleFirstContact)
{
  VNVec2 hit = kUntouched;
  VNVec2 ps = V(-10.0f, 0.0f), pe = V(10.0f, 0.0f);
  EXPECT_FLOAT_EQ(0.4f, VNAnimatedPointToStaticCircle(&ps, &pe, &kOrigin, 2.0f, &hit));
  ExpectVec(-2.0f, 0.0f, hit);

  // Grazing the top of a circle at (0, 2) counts.
  VNVec2 grazed = V(0.0f, 2.0f);
  EXPECT_FLOAT_EQ(0.5f, VNAnimatedPointToStaticCircle(&ps, &pe, &grazed, 2.0f, &hit));
  ExpectVec(0.0f, 0.0f, hit);

  VNVec2 above = V(0.0f, 5.0f);
  hit = kUntouched;
  EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&ps, &pe, &above, 2.0f, &hit));
  ExpectUntouched(hit);

  // The first contact lies beyond pe.
  VNVec2 shortOf = V(-5.0f, 0.0f);
  EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&ps, &shortOf, &kOrigin, 2.0f, &hit));
}

TEST(Collision, CircleBehindTheStartOrNoMotionIsNoHit)
{
  VNVec2 hit = kUntouched;
  // Moving away from a circle that lies behind: outside it and inside it.
  VNVec2 ps = V(3.0f, 0.0f), pe = V(10.0f, 0.0f);
  EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&ps, &pe, &kOrigin, 2.0f, &hit));
  ps = V(1.0f, 0.0f);
  EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&ps, &pe, &kOrigin, 2.0f, &hit));
  VNVec2 reflected = kUntouched;
  EXPECT_EQ(-1.0f, VNReflectAnimatedCircleOnStaticCircle(&ps, &pe, 1.0f, &kOrigin, 1.0f, &hit,
                                                         &reflected));
  ExpectUntouched(hit);
  ExpectUntouched(reflected);

  // A point that does not move hits nothing, even inside the circle.
  VNVec2 still = V(0.5f, 0.0f);
  EXPECT_EQ(-1.0f, VNAnimatedPointToStaticCircle(&still, &still, &kOrigin, 2.0f, &hit));
  EXPECT_EQ(-1.0f, VNAnimatedCircleToStaticCircle(&pe, &pe, 1.0f, &kOrigin, 20.0f, &hit));
  ExpectUntouched(hit);
}

TEST(Collision, ReflectionOffACircleMirrorsTheTravelledPart)
{
  // Radius 5 at the origin, hit at (-4, 3) after 6 units: the normal there is (-0.8, 0.6).
  VNVec2 ps = V(-10.0f, 3.0f), pe = V(10.0f, 3.0f);
  VNVec2 hit, reflected;
  EXPECT_FLOAT_EQ(0.3f,
                  VNReflectAnimatedPointOnStaticCircle(&ps, &pe, &kOrigin, 5.0f, &hit, &reflected));
  ExpectVec(-4.0f, 3.0f, hit);
  ExpectVec(-1.68f, 5.76f, reflected, 1e-4f);
  EXPECT_NEAR(6.0f, VNVec2Length(&reflected), 1e-4f);

  // A circle of radius 1 against one of radius 4 meets at the same centre position.
  VNVec2 circleHit, circleReflected;
  EXPECT_FLOAT_EQ(0.3f, VNAnimatedCircleToStaticCircle(&ps, &pe, 1.0f, &kOrigin, 4.0f, &circleHit));
  ExpectVec(-4.0f, 3.0f, circleHit);
  EXPECT_FLOAT_EQ(0.3f, VNReflectAnimatedCircleOnStaticCircle(&ps, &pe, 1.0f, &kOrigin, 4.0f,
                                                              &circleHit, &circleReflected));
  ExpectVec(reflected.x, reflected.y, circleReflected);
}
