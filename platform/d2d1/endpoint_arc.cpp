#include "platform/d2d1/endpoint_arc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace standin {
namespace {

double AngleBetween(Vec2 u, Vec2 v) { return std::atan2(Cross(u, v), Dot(u, v)); }

}  // namespace

// cos(t0 + s) - cos(t0) and sin(t0 + s) - sin(t0) from the start's own cosine and sine, with
// cos(s) - 1 as -2 sin^2(s / 2): free of cancellation, and of t0's rounding.
Vec2 EndpointArc::Along(double s) const {
  const double half = std::sin(s / 2.0);
  const double cosLess1 = -2.0 * half * half;
  const double sine = std::sin(s);
  const double c = (cosStart * cosLess1 - sinStart * sine) * rx;
  const double d = (sinStart * cosLess1 + cosStart * sine) * ry;
  return {start.x + cosPhi * c - sinPhi * d, start.y + sinPhi * c + cosPhi * d};
}

// The conversion from endpoint to centre parameterisation of SVG 1.1's implementation notes.
EndpointArc SolveEndpointArc(Vec2 from, Vec2 to, double rx, double ry, double rotationDegrees,
                             bool clockwise, bool large) {
  EndpointArc arc;
  arc.start = from;
  if (from.x == to.x && from.y == to.y) return arc;
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (!(rx > 0.0) || !(ry > 0.0) || !std::isfinite(rx) || !std::isfinite(ry)) {
    arc.kind = EndpointArc::Kind::Straight;
    return arc;
  }
  const double phi = std::fmod(rotationDegrees, 360.0) * std::numbers::pi / 180.0;
  arc.cosPhi = std::cos(phi);
  arc.sinPhi = std::sin(phi);

  // The half chord in the ellipse's own frame.
  const double hx = (from.x - to.x) / 2.0;
  const double hy = (from.y - to.y) / 2.0;
  const double x1 = arc.cosPhi * hx + arc.sinPhi * hy;
  const double y1 = -arc.sinPhi * hx + arc.cosPhi * hy;

  const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
  if (lambda > 1.0) {
    const double grow = std::sqrt(lambda);
    rx *= grow;
    ry *= grow;
  }
  arc.rx = rx;
  arc.ry = ry;

  const double rx2 = rx * rx, ry2 = ry * ry, x12 = x1 * x1, y12 = y1 * y1;
  const double denominator = rx2 * y12 + ry2 * x12;
  const double ratio = std::max(0.0, (rx2 * ry2 - denominator) / denominator);
  const double root = (large != clockwise ? 1.0 : -1.0) * std::sqrt(ratio);
  const double cx1 = root * rx * y1 / ry;
  const double cy1 = -root * ry * x1 / rx;

  arc.center = {arc.cosPhi * cx1 - arc.sinPhi * cy1 + (from.x + to.x) / 2.0,
                arc.sinPhi * cx1 + arc.cosPhi * cy1 + (from.y + to.y) / 2.0};

  const Vec2 u{(x1 - cx1) / rx, (y1 - cy1) / ry};
  arc.startAngle = AngleBetween({1.0, 0.0}, u);
  const double length = std::hypot(u.x, u.y);
  const bool onCircle = length > 0.0 && std::isfinite(length);
  arc.cosStart = onCircle ? u.x / length : std::cos(arc.startAngle);
  arc.sinStart = onCircle ? u.y / length : std::sin(arc.startAngle);
  // On the unit circle the centre stands root half chords from the chord's middle, so the small
  // arc spans 2 atan(1 / root): exact however large the radii, where the angle between the two
  // radius vectors would drown in their rounding.
  constexpr double kTurn = 2.0 * std::numbers::pi;
  const double small = 2.0 * std::atan2(1.0, std::fabs(root));
  const double sweep = large ? kTurn - small : small;
  arc.sweep = clockwise ? sweep : -sweep;
  arc.kind = EndpointArc::Kind::Curved;
  return arc;
}

}  // namespace standin
