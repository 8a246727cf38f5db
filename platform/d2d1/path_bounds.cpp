#include "platform/d2d1/path_bounds.h"

#include <cmath>
#include <numbers>

namespace standin {
namespace {

double Coordinate(Vec2 p, int axis) { return axis == 0 ? p.x : p.y; }

// Roots in (0, 1) of a t^2 + b t + c.
int UnitRoots(double a, double b, double c, double roots[2]) {
  int count = 0;
  auto keep = [&](double t) {
    if (t > 0.0 && t < 1.0) roots[count++] = t;
  };
  if (std::fabs(a) < 1e-12) {
    if (std::fabs(b) > 1e-12) keep(-c / b);
    return count;
  }
  const double d = b * b - 4.0 * a * c;
  if (d < 0.0) return 0;
  const double r = std::sqrt(d);
  keep((-b + r) / (2.0 * a));
  keep((-b - r) / (2.0 * a));
  return count;
}

void AddQuadratic(Box& box, Vec2 p0, Vec2 p1, Vec2 p2) {
  for (int axis = 0; axis < 2; ++axis) {
    const double a = Coordinate(p0, axis), b = Coordinate(p1, axis), c = Coordinate(p2, axis);
    const double denominator = a - 2.0 * b + c;
    if (std::fabs(denominator) < 1e-12) continue;
    const double t = (a - b) / denominator;
    if (t > 0.0 && t < 1.0) {
      const double u = 1.0 - t;
      box.Add(p0 * (u * u) + p1 * (2.0 * u * t) + p2 * (t * t));
    }
  }
}

void AddCubic(Box& box, Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3) {
  for (int axis = 0; axis < 2; ++axis) {
    const double a = Coordinate(p0, axis), b = Coordinate(p1, axis), c = Coordinate(p2, axis),
                 d = Coordinate(p3, axis);
    // The derivative divided by 3: (-a + 3b - 3c + d) t^2 + 2 (a - 2b + c) t + (b - a).
    double roots[2];
    const int n = UnitRoots(-a + 3.0 * b - 3.0 * c + d, 2.0 * (a - 2.0 * b + c), b - a, roots);
    for (int i = 0; i < n; ++i) {
      const double t = roots[i], u = 1.0 - t;
      box.Add(p0 * (u * u * u) + p1 * (3.0 * u * u * t) + p2 * (3.0 * u * t * t) +
              p3 * (t * t * t));
    }
  }
}

// How far the arc has turned from its start when it reaches the angle s from the start, the
// long way round when s lies beyond its end (so that the caller can tell).
double TurnTo(double s, double sweep) {
  constexpr double kTurn = 2.0 * std::numbers::pi;
  double offset = std::fmod(sweep >= 0.0 ? s : -s, kTurn);
  if (offset < 0.0) offset += kTurn;
  return sweep >= 0.0 ? offset : -offset;
}

void AddArc(Box& box, const EndpointArc& arc, const Affine& transform) {
  // After the transform a coordinate of the ellipse reads k + A cos t + B sin t. Turned by s
  // from the start, that is k + A' cos s + B' sin s, extreme where tan s = B' / A'. The turns
  // and the extreme points are measured from the arc's start, which stays exact however far
  // away the centre lies and however much larger one radius is than the other.
  const Vec2 axisX = transform.ApplyLinear({arc.cosPhi * arc.rx, arc.sinPhi * arc.rx});
  const Vec2 axisY = transform.ApplyLinear({-arc.sinPhi * arc.ry, arc.cosPhi * arc.ry});
  for (int axis = 0; axis < 2; ++axis) {
    const double a = Coordinate(axisX, axis), b = Coordinate(axisY, axis);
    const double fromStartA = a * arc.cosStart + b * arc.sinStart;
    const double fromStartB = b * arc.cosStart - a * arc.sinStart;
    // Both extremes from atan2 itself, so that one near the start is not rounded off by a
    // half turn added to the other.
    for (const double sign : {1.0, -1.0}) {
      const double turn = TurnTo(std::atan2(sign * fromStartB, sign * fromStartA), arc.sweep);
      if (std::fabs(turn) <= std::fabs(arc.sweep)) box.Add(transform.Apply(arc.Along(turn)));
    }
  }
}

}  // namespace

Box PathBounds(const Path& path, const Affine& transform) {
  Box box;
  const auto& segments = path.Segments();
  for (const Figure& figure : path.Figures()) {
    Vec2 current = transform.Apply(figure.start);
    box.Add(current);
    for (std::uint32_t i = 0; i < figure.segmentCount; ++i) {
      const Segment& s = segments[figure.firstSegment + i];
      const Vec2 end = transform.Apply(s.end);
      switch (s.kind) {
        case Segment::Kind::Line:
          break;
        case Segment::Kind::Quadratic:
          AddQuadratic(box, current, transform.Apply(s.control1), end);
          break;
        case Segment::Kind::Cubic:
          AddCubic(box, current, transform.Apply(s.control1), transform.Apply(s.control2), end);
          break;
        case Segment::Kind::Arc:
          if (s.arc.kind == EndpointArc::Kind::Curved) AddArc(box, s.arc, transform);
          break;
      }
      box.Add(end);
      current = end;
    }
  }
  return box;
}

}  // namespace standin
