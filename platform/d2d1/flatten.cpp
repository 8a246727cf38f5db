#include "platform/d2d1/flatten.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

// Caps the work for absurd inputs (huge curves against a tiny tolerance).
constexpr int kMaxPieces = 1 << 16;

int ClampPieces(double pieces) {
  if (!(pieces >= 1.0)) return 1;
  return static_cast<int>(std::min(std::ceil(pieces), static_cast<double>(kMaxPieces)));
}

}  // namespace

// Uniform steps 1/n keep a curve's chords within |B''|max / (8 n^2) of it.
int QuadraticPieces(Vec2 p0, Vec2 p1, Vec2 p2, double tolerance) {
  const double bend = Length(p0 - p1 * 2.0 + p2);  // |B''| / 2
  return ClampPieces(std::sqrt(2.0 * bend / (8.0 * tolerance)));
}

int CubicPieces(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, double tolerance) {
  const double bend =
      std::max(Length(p0 - p1 * 2.0 + p2), Length(p1 - p2 * 2.0 + p3));  // |B''|max / 6
  return ClampPieces(std::sqrt(6.0 * bend / (8.0 * tolerance)));
}

// A chord spanning angle a on a circle of radius r stands r (1 - cos(a/2)) off the arc.
int ArcPieces(double largerRadius, double sweep, double tolerance) {
  if (tolerance >= largerRadius) return ClampPieces(std::fabs(sweep) / 2.0);
  const double step = 2.0 * std::acos(1.0 - tolerance / largerRadius);
  return ClampPieces(std::fabs(sweep) / step);
}

void FlattenPath(const Path& path, const Affine& transform, double tolerance, FlattenSink& sink) {
  // Flattening happens before the transform, so the tolerance shrinks by its largest stretch.
  const double scale = transform.MaxScale();
  const double local = scale > 0.0 ? tolerance / scale : tolerance;
  const auto& segments = path.Segments();
  for (const Figure& figure : path.Figures()) {
    sink.BeginFigure(transform.Apply(figure.start), figure.filled);
    Vec2 current = figure.start;
    for (std::uint32_t i = 0; i < figure.segmentCount; ++i) {
      const Segment& s = segments[figure.firstSegment + i];
      switch (s.kind) {
        case Segment::Kind::Line:
          break;
        case Segment::Kind::Quadratic: {
          const int n = QuadraticPieces(current, s.control1, s.end, local);
          for (int k = 1; k < n; ++k) {
            const double t = static_cast<double>(k) / n, u = 1.0 - t;
            sink.LineTo(transform.Apply(current * (u * u) + s.control1 * (2.0 * u * t) +
                                        s.end * (t * t)));
          }
          break;
        }
        case Segment::Kind::Cubic: {
          const int n = CubicPieces(current, s.control1, s.control2, s.end, local);
          for (int k = 1; k < n; ++k) {
            const double t = static_cast<double>(k) / n, u = 1.0 - t;
            sink.LineTo(transform.Apply(current * (u * u * u) + s.control1 * (3.0 * u * u * t) +
                                        s.control2 * (3.0 * u * t * t) + s.end * (t * t * t)));
          }
          break;
        }
        case Segment::Kind::Arc: {
          const EndpointArc& arc = s.arc;
          if (arc.kind == EndpointArc::Kind::Nothing) continue;
          if (arc.kind == EndpointArc::Kind::Curved) {
            const int n = ArcPieces(std::max(arc.rx, arc.ry), arc.sweep, local);
            for (int k = 1; k < n; ++k) {
              sink.LineTo(transform.Apply(arc.At(arc.startAngle + arc.sweep * k / n)));
            }
          }
          break;
        }
      }
      // The exact end point, so that rounding leaves no gap before the next segment.
      sink.LineTo(transform.Apply(s.end));
      current = s.end;
    }
    sink.EndFigure(figure.closed);
  }
}

}  // namespace standin
