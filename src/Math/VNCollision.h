/*
 * VNCollision: 2D geometric queries on points, circles, axis-aligned rectangles and line
 * segments: signed distances, overlap tests, and swept tests (the Animated functions)
 * that find when and where a point or circle moving in a straight line during one frame
 * first touches a static segment or circle, optionally with the reflected motion.
 * Rectangles are given by centre, width and height. Swept tests return the time of
 * contact t as the fraction of the way from ps to pe, or -1 when nothing is hit.
 */
#pragma once

#include "Math/VNMath.h"

extern "C"
{

  /* A line segment with its unit normal (its side is the front of the line) and the line
   constant n . p0. The caller fills it in. */
  typedef struct VNLineSegment
  {
    VNVec2 p0;
    VNVec2 p1;
    VNVec2 n;
    float nDotP0;
  } VNLineSegment;

  /* ---- Signed distances (negative means overlapping or inside) ---------------------- */

  float VNCalcDistPointToCircle(const VNVec2* point, const VNVec2* center, float radius);
  float VNCalcDistPointToRect(const VNVec2* point, const VNVec2* rectCenter, float width,
                              float height);
  float VNCalcDistPointToLineSeg(const VNVec2* point, const VNVec2* lineStart,
                                 const VNVec2* lineEnd);
  float VNCalcDistCircleToCircle(const VNVec2* center0, float radius0, const VNVec2* center1,
                                 float radius1);
  float VNCalcDistCircleToRect(const VNVec2* center, float radius, const VNVec2* rectCenter,
                               float width, float height);
  /* Penetration depth along the axis of least overlap (negative), or 0 when the rectangles
   do not overlap (touching does not count). normal, when not null, receives the unit
   axis pointing from the second rectangle toward the first; it is untouched on 0. */
  float VNCalcDistRectToRect(const VNVec2* center0, float width0, float height0,
                             const VNVec2* center1, float width1, float height1, VNVec2* normal);

  /* ---- Overlap tests (1 or 0; touching counts except in VNTestCircleToRect) --------- */

  int VNTestPointToCircle(const VNVec2* point, const VNVec2* center, float radius);
  int VNTestPointToRect(const VNVec2* point, const VNVec2* rectCenter, float width, float height);
  int VNTestCircleToCircle(const VNVec2* center0, float radius0, const VNVec2* center1,
                           float radius1);
  /* Strict: a circle that only touches the rectangle does not overlap it. */
  int VNTestCircleToRect(const VNVec2* center, float radius, const VNVec2* rectCenter, float width,
                         float height);
  int VNTestRectToRect(const VNVec2* center0, float width0, float height0, const VNVec2* center1,
                       float width1, float height1);

  /* ---- Segments and swept tests ----------------------------------------------------- */

  /* Signed distance of point from the segment's line, positive in front. */
  float VNStaticPointToStaticLineSegment(const VNVec2* point, const VNLineSegment* segment);
  /* interPt receives the point where ps..pe crosses the segment. */
  float VNAnimatedPointToStaticLineSegment(const VNVec2* ps, const VNVec2* pe,
                                           const VNLineSegment* segment, VNVec2* interPt);
  /* interPt receives the circle's centre when it first touches the segment. */
  float VNAnimatedCircleToStaticLineSegment(const VNVec2* ps, const VNVec2* pe, float radius,
                                            const VNLineSegment* segment, VNVec2* interPt);
  /* As the swept test; on a hit after the start (t > 0) reflected receives the motion left
   after the hit, mirrored off the segment. */
  float VNReflectAnimatedPointOnStaticLineSegment(const VNVec2* ps, const VNVec2* pe,
                                                  const VNLineSegment* segment, VNVec2* interPt,
                                                  VNVec2* reflected);
  float VNReflectAnimatedCircleOnStaticLineSegment(const VNVec2* ps, const VNVec2* pe, float radius,
                                                   const VNLineSegment* segment, VNVec2* interPt,
                                                   VNVec2* reflected);
  /* interPt receives the first point of the circle's boundary on the path. */
  float VNAnimatedPointToStaticCircle(const VNVec2* ps, const VNVec2* pe, const VNVec2* center,
                                      float radius, VNVec2* interPt);
  /* As the swept test; on a hit after the start (t > 0) reflected receives the travelled
   part (ps - interPt) mirrored about the circle's normal at the hit: its length is the
   distance travelled before the hit. */
  float VNReflectAnimatedPointOnStaticCircle(const VNVec2* ps, const VNVec2* pe,
                                             const VNVec2* center, float radius, VNVec2* interPt,
                                             VNVec2* reflected);
  /* interPt receives the moving circle's centre at contact. */
  float VNAnimatedCircleToStaticCircle(const VNVec2* ps, const VNVec2* pe, float radius,
                                       const VNVec2* center, float staticRadius, VNVec2* interPt);
  float VNReflectAnimatedCircleOnStaticCircle(const VNVec2* ps, const VNVec2* pe, float radius,
                                              const VNVec2* center, float staticRadius,
                                              VNVec2* interPt, VNVec2* reflected);
}
