/*
 * VNCollision: signed distances, overlap tests and swept tests on points, circles,
 * axis-aligned rectangles and line segments. Comparisons are deliberate: most overlap
 * tests accept touching, VNTestCircleToRect and VNCalcDistRectToRect do not. Square
 * roots are taken in double precision and rounded to float.
 */
#include "Math/VNCollision.h"

#include <math.h>

/* Below this a segment length or a speed across a line counts as zero. */
static const float kEpsilon = 1e-5f;
static const float kNoHit = -1.0f;

/* True when point lies within the segment's extent along its length, ends included. */
static bool WithinSegmentEnds(const VNLineSegment* segment, const VNVec2* point)
{
  VNVec2 along, fromStart, back, fromEnd;
  VNVec2Sub(&along, &segment->p1, &segment->p0);
  VNVec2Sub(&fromStart, point, &segment->p0);
  VNVec2Sub(&back, &segment->p0, &segment->p1);
  VNVec2Sub(&fromEnd, point, &segment->p1);
  return VNVec2DotProduct(&along, &fromStart) >= 0.0f && VNVec2DotProduct(&back, &fromEnd) >= 0.0f;
}

/* Mirrors the motion left after the hit (pe - interPt) off the segment's line. */
static void ReflectOffSegment(const VNVec2* pe, const VNLineSegment* segment, const VNVec2* interPt,
                              VNVec2* reflected)
{
  VNVec2 remaining;
  VNVec2Sub(&remaining, pe, interPt);
  float twiceAlongNormal = 2.0f * VNVec2DotProduct(&remaining, &segment->n);
  VNVec2 result;
  VNVec2Scale(&result, &segment->n, -twiceAlongNormal);
  VNVec2Add(reflected, &remaining, &result);
}

/* Mirrors the travelled part (ps - interPt) about the circle's normal at the hit. */
static void ReflectOffCircle(const VNVec2* ps, const VNVec2* center, const VNVec2* interPt,
                             VNVec2* reflected)
{
  VNVec2 normal, travelled;
  VNVec2Sub(&normal, interPt, center);
  VNVec2Normalize(&normal, &normal);
  VNVec2Sub(&travelled, ps, interPt);
  float twiceAlongNormal = 2.0f * VNVec2DotProduct(&travelled, &normal);
  VNVec2ScaleSub(reflected, &normal, &travelled, twiceAlongNormal);
}

/* ---- Signed distances ------------------------------------------------------------- */

float VNCalcDistPointToCircle(const VNVec2* point, const VNVec2* center, float radius)
{
  return VNVec2Distance(point, center) - radius;
}

float VNCalcDistPointToRect(const VNVec2* point, const VNVec2* rectCenter, float width,
                            float height)
{
  float dx = point->x - rectCenter->x;
  float dy = point->y - rectCenter->y;
  float halfWidth = width * 0.5f;
  float halfHeight = height * 0.5f;

  if (fabsf(dx) <= halfWidth && fabsf(dy) <= halfHeight)
  {
    /* Inside or on the border: minus the distance to the nearest edge. */
    float toEdgeX = (dx >= 0.0f) ? halfWidth - dx : dx + halfWidth;
    float toEdgeY = (dy >= 0.0f) ? halfHeight - dy : dy + halfHeight;
    return (toEdgeY <= toEdgeX) ? -toEdgeY : -toEdgeX;
  }

  VNVec2 outside;
  outside.x = dx - VNClamp(dx, -halfWidth, halfWidth);
  outside.y = dy - VNClamp(dy, -halfHeight, halfHeight);
  return VNVec2Length(&outside);
}

float VNCalcDistPointToLineSeg(const VNVec2* point, const VNVec2* lineStart, const VNVec2* lineEnd)
{
  VNVec2 direction, fromStart;
  VNVec2Sub(&direction, lineEnd, lineStart);
  VNVec2Sub(&fromStart, point, lineStart);
  float length = VNVec2Length(&direction);

  if (length < kEpsilon)
    return VNVec2Length(&fromStart);

  float along = VNVec2DotProduct(&fromStart, &direction) / length;
  if (along <= 0.0f)
    return VNVec2Length(&fromStart);
  if (along >= length)
    return VNVec2Distance(point, lineEnd);

  float acrossSq = VNVec2SquareLength(&fromStart) - along * along;
  if (acrossSq <= 0.0f)
    return 0.0f;
  return sqrtf(acrossSq);
}

float VNCalcDistCircleToCircle(const VNVec2* center0, float radius0, const VNVec2* center1,
                               float radius1)
{
  return VNVec2Distance(center0, center1) - radius0 - radius1;
}

float VNCalcDistCircleToRect(const VNVec2* center, float radius, const VNVec2* rectCenter,
                             float width, float height)
{
  return VNCalcDistPointToRect(center, rectCenter, width, height) - radius;
}

float VNCalcDistRectToRect(const VNVec2* center0, float width0, float height0,
                           const VNVec2* center1, float width1, float height1, VNVec2* normal)
{
  float dx = center1->x - center0->x;
  float dy = center1->y - center0->y;

  if (fabsf(dx) >= (width0 + width1) * 0.5f || fabsf(dy) >= (height0 + height1) * 0.5f)
    return 0.0f;

  float depth = fabsf(dx) - width0 * 0.5f - width1 * 0.5f;
  VNVec2 axis = {(dx < 0.0f) ? 1.0f : -1.0f, 0.0f};

  float depthY;
  VNVec2 axisY;
  if (dy >= 0.0f)
  {
    depthY = dy - height0 * 0.5f - height1 * 0.5f;
    VNVec2Set(&axisY, 0.0f, -1.0f);
  }
  else
  {
    depthY = -dy - height0 * 0.5f - height1 * 0.5f;
    VNVec2Set(&axisY, 0.0f, 1.0f);
  }

  /* The shallower penetration wins; on a tie x is kept. */
  if (depthY > depth)
  {
    depth = depthY;
    axis = axisY;
  }

  if (normal)
    *normal = axis;
  return depth;
}

/* ---- Overlap tests ---------------------------------------------------------------- */

int VNTestPointToCircle(const VNVec2* point, const VNVec2* center, float radius)
{
  return (radius >= VNVec2Distance(point, center)) ? 1 : 0;
}

int VNTestPointToRect(const VNVec2* point, const VNVec2* rectCenter, float width, float height)
{
  float dx = point->x - rectCenter->x;
  float dy = point->y - rectCenter->y;
  float halfWidth = width * 0.5f;
  float halfHeight = height * 0.5f;
  return (-halfWidth <= dx && dx <= halfWidth && -halfHeight <= dy && dy <= halfHeight) ? 1 : 0;
}

int VNTestCircleToCircle(const VNVec2* center0, float radius0, const VNVec2* center1, float radius1)
{
  return (radius0 + radius1 >= VNVec2Distance(center0, center1)) ? 1 : 0;
}

int VNTestCircleToRect(const VNVec2* center, float radius, const VNVec2* rectCenter, float width,
                       float height)
{
  /* Strict: a zero radius on the border (distance -0) does not overlap. */
  return (radius > VNCalcDistPointToRect(center, rectCenter, width, height)) ? 1 : 0;
}

int VNTestRectToRect(const VNVec2* center0, float width0, float height0, const VNVec2* center1,
                     float width1, float height1)
{
  float dx = center1->x - center0->x;
  float dy = center1->y - center0->y;
  return (fabsf(dx) <= (width0 + width1) * 0.5f && fabsf(dy) <= (height0 + height1) * 0.5f) ? 1 : 0;
}

/* ---- Segments --------------------------------------------------------------------- */

float VNStaticPointToStaticLineSegment(const VNVec2* point, const VNLineSegment* segment)
{
  return VNVec2DotProduct(&segment->n, point) - segment->nDotP0;
}

float VNAnimatedPointToStaticLineSegment(const VNVec2* ps, const VNVec2* pe,
                                         const VNLineSegment* segment, VNVec2* interPt)
{
  float startSide = VNVec2DotProduct(&segment->n, ps);
  float endSide = VNVec2DotProduct(&segment->n, pe);
  float lineSide = segment->nDotP0;

  /* Both ends strictly on one side; ending exactly on the line counts as crossing. */
  if (startSide < lineSide && endSide < lineSide)
    return kNoHit;
  if (startSide > lineSide && endSide > lineSide)
    return kNoHit;

  VNVec2 motion;
  VNVec2Sub(&motion, pe, ps);
  float speedAcross = VNVec2DotProduct(&segment->n, &motion);
  if (fabsf(speedAcross) < kEpsilon)
    return kNoHit;

  float t = (VNVec2DotProduct(&segment->n, &segment->p0) - startSide) / speedAcross;
  VNVec2 hit;
  VNVec2ScaleAdd(&hit, &motion, ps, t);
  if (!WithinSegmentEnds(segment, &hit))
    return kNoHit;

  *interPt = hit;
  return t;
}

float VNAnimatedCircleToStaticLineSegment(const VNVec2* ps, const VNVec2* pe, float radius,
                                          const VNLineSegment* segment, VNVec2* interPt)
{
  float startSide = VNVec2DotProduct(&segment->n, ps) - segment->nDotP0;
  float endSide = VNVec2DotProduct(&segment->n, pe) - segment->nDotP0;

  /* The line thickened by radius on both sides. */
  if (startSide < -radius && endSide < -radius)
    return kNoHit;
  if (startSide > radius && endSide > radius)
    return kNoHit;

  VNVec2 motion;
  VNVec2Sub(&motion, pe, ps);
  float speedAcross = VNVec2DotProduct(&segment->n, &motion);
  if (fabsf(speedAcross) < kEpsilon)
    return kNoHit;

  float offset = (startSide >= 0.0f) ? radius : -radius;
  float t =
      (VNVec2DotProduct(&segment->n, &segment->p0) - VNVec2DotProduct(&segment->n, ps) + offset) /
      speedAcross;
  /* A circle that starts inside the thickened line and moves away from it would meet
       the face only after pe: nothing is touched this frame. */
  if (t > 1.0f)
    return kNoHit;
  VNVec2 center;
  VNVec2ScaleAdd(&center, &motion, ps, t);
  if (!WithinSegmentEnds(segment, &center))
    return kNoHit;

  *interPt = center;
  return t;
}

float VNReflectAnimatedPointOnStaticLineSegment(const VNVec2* ps, const VNVec2* pe,
                                                const VNLineSegment* segment, VNVec2* interPt,
                                                VNVec2* reflected)
{
  float t = VNAnimatedPointToStaticLineSegment(ps, pe, segment, interPt);
  if (t > 0.0f)
    ReflectOffSegment(pe, segment, interPt, reflected);
  return t;
}

float VNReflectAnimatedCircleOnStaticLineSegment(const VNVec2* ps, const VNVec2* pe, float radius,
                                                 const VNLineSegment* segment, VNVec2* interPt,
                                                 VNVec2* reflected)
{
  float t = VNAnimatedCircleToStaticLineSegment(ps, pe, radius, segment, interPt);
  if (t > 0.0f)
    ReflectOffSegment(pe, segment, interPt, reflected);
  return t;
}

/* ---- Circles ---------------------------------------------------------------------- */

float VNAnimatedPointToStaticCircle(const VNVec2* ps, const VNVec2* pe, const VNVec2* center,
                                    float radius, VNVec2* interPt)
{
  VNVec2 motion;
  VNVec2Sub(&motion, pe, ps);
  float length = VNVec2Length(&motion);
  /* A point that does not move crosses nothing this frame. */
  if (length == 0.0f)
    return kNoHit;

  VNVec2 direction, toCenter;
  VNVec2Scale(&direction, &motion, 1.0f / length);
  VNVec2Sub(&toCenter, center, ps);
  float centerAlong = VNVec2DotProduct(&direction, &toCenter);

  /* The motion points away from the centre: a circle lying behind the start is not
       hit, whether the start is inside it or not. Going on would report a contact
       before ps (a negative t) for a circle the point is leaving or never reaches. */
  if (centerAlong < 0.0f)
    return kNoHit;

  float radiusSq = radius * radius;
  float missSq = VNVec2SquareLength(&toCenter) - centerAlong * centerAlong;
  if (missSq > radiusSq)
    return kNoHit;

  float t = (centerAlong - sqrtf(radiusSq - missSq)) / length;
  VNVec2 hit, back, hitFromEnd;
  VNVec2ScaleAdd(&hit, &motion, ps, t);
  VNVec2Sub(&back, ps, pe);
  VNVec2Sub(&hitFromEnd, &hit, pe);
  *interPt = hit;

  /* The first contact lies beyond pe. */
  if (VNVec2DotProduct(&back, &hitFromEnd) < 0.0f)
    return kNoHit;
  return t;
}

float VNReflectAnimatedPointOnStaticCircle(const VNVec2* ps, const VNVec2* pe, const VNVec2* center,
                                           float radius, VNVec2* interPt, VNVec2* reflected)
{
  float t = VNAnimatedPointToStaticCircle(ps, pe, center, radius, interPt);
  if (t > 0.0f)
    ReflectOffCircle(ps, center, interPt, reflected);
  return t;
}

float VNAnimatedCircleToStaticCircle(const VNVec2* ps, const VNVec2* pe, float radius,
                                     const VNVec2* center, float staticRadius, VNVec2* interPt)
{
  return VNAnimatedPointToStaticCircle(ps, pe, center, radius + staticRadius, interPt);
}

float VNReflectAnimatedCircleOnStaticCircle(const VNVec2* ps, const VNVec2* pe, float radius,
                                            const VNVec2* center, float staticRadius,
                                            VNVec2* interPt, VNVec2* reflected)
{
  return VNReflectAnimatedPointOnStaticCircle(ps, pe, center, radius + staticRadius, interPt,
                                              reflected);
}
