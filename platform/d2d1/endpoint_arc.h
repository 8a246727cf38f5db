#pragma once
// Elliptical arcs given by their end points (the form Direct2D's AddArc takes), turned into
// centre form: centre, radii, rotation, start angle and signed sweep.

#include "platform/d2d1/vec2.h"

namespace standin {

struct EndpointArc {
  enum class Kind {
    Nothing,   // the end point is the start point: the arc adds nothing
    Straight,  // a zero radius: a straight line to the end point
    Curved,
  };
  Kind kind = Kind::Nothing;
  Vec2 start;  // the arc's first point, from which its other points are measured
  Vec2 center;
  double rx = 0.0, ry = 0.0;  // radii after scaling up, when the given ones were too small
  double cosPhi = 1.0, sinPhi = 0.0;
  double startAngle = 0.0;  // radians, in the ellipse's own frame
  // The start angle's cosine and sine, exact where the angle itself rounds away what a radius
  // many orders larger than the other makes of a tiny difference.
  double cosStart = 1.0, sinStart = 0.0;
  double sweep = 0.0;  // radians; positive runs clockwise on a y-down screen

  // The point at angle t of the ellipse (not limited to the arc).
  Vec2 At(double t) const { return Along(t - startAngle); }
  // The point reached after turning by s from the start. Measured from the start point, not
  // from the centre, so that it stays exact when the radii dwarf the arc.
  Vec2 Along(double s) const;
};

// clockwise: Direct2D's D2D1_SWEEP_DIRECTION_CLOCKWISE; large: D2D1_ARC_SIZE_LARGE.
EndpointArc SolveEndpointArc(Vec2 from, Vec2 to, double rx, double ry, double rotationDegrees,
                             bool clockwise, bool large);

}  // namespace standin
