#include "platform/d2d1/flatten.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace standin {
namespace {

// Caps the work for absurd inputs (huge curves against a tiny tolerance).
constexpr int kMaxPieces = 1 << 16;
// Curves of up to this many pieces (at full resolution) are always flattened whole. Cutting
// them would save little, and a chord standing in for a curve beyond the left border would
// round the fill's sums along that border differently.
constexpr int kCutFrom = 1024;

int ClampPieces(double pieces) {
  if (!(pieces >= 1.0)) return 1;
  return static_cast<int>(std::min(std::ceil(pieces), static_cast<double>(kMaxPieces)));
}

bool Finite(Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

Box BoxOf(Vec2 a, Vec2 b) {
  Box box;
  box.Add(a);
  box.Add(b);
  return box;
}

Box Union(Box a, const Box& b) {
  a.left = std::min(a.left, b.left);
  a.top = std::min(a.top, b.top);
  a.right = std::max(a.right, b.right);
  a.bottom = std::max(a.bottom, b.bottom);
  return a;
}

bool Misses(const Box& hull, const Box& view) {
  return hull.right < view.left || hull.left > view.right || hull.bottom < view.top ||
         hull.top > view.bottom;
}

bool Within(const Box& hull, const Box& view) {
  return hull.left >= view.left && hull.right <= view.right && hull.top >= view.top &&
         hull.bottom <= view.bottom;
}

// One segment from its start point: its points at uniform steps of its parameter, and boxes
// that hold the curve between two of them.
class Curve {
 public:
  Curve(Vec2 start, const Segment& segment) : p0_(start), s_(segment) {}

  int Pieces(double tolerance) const {
    switch (s_.kind) {
      case Segment::Kind::Line:
        return 1;
      case Segment::Kind::Quadratic:
        return QuadraticPieces(p0_, s_.control1, s_.end, tolerance);
      case Segment::Kind::Cubic:
        return CubicPieces(p0_, s_.control1, s_.control2, s_.end, tolerance);
      case Segment::Kind::Arc:
        if (s_.arc.kind != EndpointArc::Kind::Curved) return 1;
        return ArcPieces(std::max(s_.arc.rx, s_.arc.ry), s_.arc.sweep, tolerance);
    }
    return 1;
  }

  // Point k of n pieces; point n is the exact end, so that rounding leaves no gap before the
  // next segment.
  Vec2 Point(int k, int n) const {
    if (k >= n) return s_.end;
    const double t = static_cast<double>(k) / n, u = 1.0 - t;
    switch (s_.kind) {
      case Segment::Kind::Line:
        break;
      case Segment::Kind::Quadratic:
        return p0_ * (u * u) + s_.control1 * (2.0 * u * t) + s_.end * (t * t);
      case Segment::Kind::Cubic:
        return p0_ * (u * u * u) + s_.control1 * (3.0 * u * u * t) +
               s_.control2 * (3.0 * u * t * t) + s_.end * (t * t * t);
      case Segment::Kind::Arc:
        if (s_.arc.kind == EndpointArc::Kind::Curved) return s_.arc.Along(s_.arc.sweep * k / n);
        break;
    }
    return k <= 0 ? p0_ : s_.end;
  }

  // A box holding the curve from point a (pa) to point b (pb); false when there is no cheap one.
  bool Hull(int a, int b, int n, Vec2 pa, Vec2 pb, Box* box) const {
    const double t0 = static_cast<double>(a) / n, t1 = static_cast<double>(b) / n;
    switch (s_.kind) {
      case Segment::Kind::Line:
        *box = BoxOf(pa, pb);
        return true;
      case Segment::Kind::Quadratic: {
        // The piece's own control points, from the curve's polar form.
        auto polar = [&](double x, double y) {
          return p0_ * ((1.0 - x) * (1.0 - y)) + s_.control1 * ((1.0 - x) * y + x * (1.0 - y)) +
                 s_.end * (x * y);
        };
        *box = BoxOf(polar(t0, t0), polar(t1, t1));
        box->Add(polar(t0, t1));
        return true;
      }
      case Segment::Kind::Cubic: {
        auto polar = [&](double x, double y, double z) {
          auto mix = [](Vec2 p, Vec2 q, double w) { return p * (1.0 - w) + q * w; };
          const Vec2 q0 = mix(p0_, s_.control1, x), q1 = mix(s_.control1, s_.control2, x),
                     q2 = mix(s_.control2, s_.end, x);
          return mix(mix(q0, q1, y), mix(q1, q2, y), z);
        };
        *box = BoxOf(polar(t0, t0, t0), polar(t1, t1, t1));
        box->Add(polar(t0, t0, t1));
        box->Add(polar(t0, t1, t1));
        return true;
      }
      case Segment::Kind::Arc: {
        const EndpointArc& arc = s_.arc;
        if (arc.kind != EndpointArc::Kind::Curved) {
          *box = BoxOf(p0_, s_.end);
          return true;
        }
        // Up to half a turn an elliptical arc stays within its chord widened by its sagitta
        // on the larger radius.
        const double s0 = arc.sweep * a / n, s1 = arc.sweep * b / n;
        const double turn = std::fabs(s1 - s0);
        if (!(turn <= std::numbers::pi)) return false;
        const double quarter = std::sin(turn / 4.0);
        const double sagitta = 2.0 * std::max(arc.rx, arc.ry) * quarter * quarter;
        *box = BoxOf(pa, pb);
        box->left -= sagitta;
        box->top -= sagitta;
        box->right += sagitta;
        box->bottom += sagitta;
        return true;
      }
    }
    return false;
  }

  bool Adds() const {
    return s_.kind != Segment::Kind::Arc || s_.arc.kind != EndpointArc::Kind::Nothing;
  }

 private:
  Vec2 p0_;
  const Segment& s_;
};

// Flattens figures into a sink, or only counts the points it would hand over (giving up once
// the count has cost more than a given number of halvings).
class Flattener {
 public:
  Flattener(const Affine& transform, const FlattenView& view, FlattenSink* sink, long halvings = 0)
      : transform_(transform), view_(view), sink_(sink), halvingsLeft_(halvings) {
    reach_ = view.box;
    reach_.left -= view.margin;
    reach_.top -= view.margin;
    reach_.right += view.margin;
    reach_.bottom += view.margin;
  }

  void Add(const Path& path, const Figure& figure, double tolerance, double share) {
    const auto& segments = path.Segments();
    if (!Usable(figure, segments)) return;
    if (sink_ != nullptr) sink_->BeginFigure(transform_.Apply(figure.start), figure.filled);
    Vec2 current = figure.start;
    for (std::uint32_t i = 0; i < figure.segmentCount && !GaveUp(); ++i) {
      const Segment& s = segments[figure.firstSegment + i];
      const Curve curve(current, s);
      if (!curve.Adds()) continue;
      const int pieces = curve.Pieces(tolerance);
      const int n = std::max(1, static_cast<int>(pieces * share));
      if (pieces <= kCutFrom) {
        EmitAll(curve, 0, n, n);
      } else {
        Visit(curve, 0, n, n, current, s.end);
      }
      current = s.end;
    }
    Flush();
    if (sink_ != nullptr) sink_->EndFigure(figure.closed);
  }

  long Count() const { return count_; }
  bool GaveUp() const { return sink_ == nullptr && halvingsLeft_ < 0; }

 private:
  // Every coordinate, solved arc value and mapped point must be finite, or the figure is left
  // out.
  bool Usable(const Figure& figure, const std::vector<Segment>& segments) const {
    auto usable = [&](Vec2 p) {
      return standin::Finite(p) && standin::Finite(transform_.Apply(p)) &&
             standin::Finite(view_.toView.Apply(p));
    };
    if (!usable(figure.start)) return false;
    for (std::uint32_t i = 0; i < figure.segmentCount; ++i) {
      const Segment& s = segments[figure.firstSegment + i];
      if (!usable(s.end)) return false;
      if (s.kind == Segment::Kind::Quadratic || s.kind == Segment::Kind::Cubic) {
        if (!usable(s.control1)) return false;
      }
      if (s.kind == Segment::Kind::Cubic && !usable(s.control2)) return false;
      if (s.kind == Segment::Kind::Arc && s.arc.kind == EndpointArc::Kind::Curved) {
        const EndpointArc& arc = s.arc;
        const double values[] = {arc.rx,         arc.ry,       arc.cosPhi,   arc.sinPhi,
                                 arc.startAngle, arc.cosStart, arc.sinStart, arc.sweep};
        for (const double v : values) {
          if (!std::isfinite(v)) return false;
        }
        if (!standin::Finite(arc.center)) return false;
      }
    }
    return true;
  }

  // Halves the piece from point a to point b until its hull lies outside the view's reach, or
  // so close that none of its parts could.
  void Visit(const Curve& curve, int a, int b, int n, Vec2 pa, Vec2 pb) {
    if (sink_ == nullptr && --halvingsLeft_ < 0) return;
    Box hull;
    if (curve.Hull(a, b, n, pa, pb, &hull)) {
      const Box seen = ToView(hull);
      if (Misses(seen, reach_)) {
        Cull(seen, pb);
        return;
      }
      if (Within(seen, reach_)) {
        EmitAll(curve, a, b, n);
        return;
      }
    }
    if (b - a == 1) {
      Emit(pb);
      return;
    }
    const int middle = a + (b - a) / 2;
    const Vec2 pm = curve.Point(middle, n);
    Visit(curve, a, middle, n, pa, pm);
    Visit(curve, middle, b, n, pm, pb);
  }

  Box ToView(const Box& hull) const {
    const Affine& m = view_.toView;
    Box box = BoxOf(m.Apply({hull.left, hull.top}), m.Apply({hull.right, hull.bottom}));
    box.Add(m.Apply({hull.left, hull.bottom}));
    box.Add(m.Apply({hull.right, hull.top}));
    return box;
  }

  // Outside the view one chord stands in for a whole stretch, as long as the stretch's hull
  // stays out of the view's reach.
  void Cull(const Box& seen, Vec2 end) {
    if (pending_ && Misses(Union(pendingHull_, seen), reach_)) {
      pendingHull_ = Union(pendingHull_, seen);
    } else {
      Flush();
      pending_ = true;
      pendingHull_ = seen;
    }
    pendingEnd_ = end;
  }

  void Flush() {
    if (!pending_) return;
    pending_ = false;
    Hand(pendingEnd_);
  }

  // Points a + 1 to b; counting needs only how many.
  void EmitAll(const Curve& curve, int a, int b, int n) {
    if (sink_ == nullptr) {
      Flush();
      count_ += b - a;
      return;
    }
    for (int k = a + 1; k <= b; ++k) Emit(curve.Point(k, n));
  }

  void Emit(Vec2 point) {
    Flush();
    Hand(point);
  }

  void Hand(Vec2 point) {
    ++count_;
    if (sink_ != nullptr) sink_->LineTo(transform_.Apply(point));
  }

  const Affine& transform_;
  const FlattenView& view_;
  Box reach_;  // the view widened by the margin: where a hull must reach to count
  FlattenSink* sink_;
  long count_ = 0;
  long halvingsLeft_;
  bool pending_ = false;
  Box pendingHull_;
  Vec2 pendingEnd_;
};

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

// A chord spanning angle a on a circle of radius r stands r (1 - cos(a/2)) = 2 r sin^2(a/4)
// off the arc. Solved through the sine, which keeps its precision when tolerance / r is far
// below the rounding of 1 - cos.
int ArcPieces(double largerRadius, double sweep, double tolerance) {
  if (tolerance >= largerRadius) return ClampPieces(std::fabs(sweep) / 2.0);
  const double step = 4.0 * std::asin(std::sqrt(tolerance / (2.0 * largerRadius)));
  return ClampPieces(std::fabs(sweep) / step);
}

void FlattenPath(const Path& path, const Affine& transform, double tolerance,
                 const FlattenView& view, FlattenSink& sink) {
  // Flattening happens before the transform, so the tolerance shrinks by its largest stretch.
  const double scale = transform.MaxScale();
  const double local = scale > 0.0 ? tolerance / scale : tolerance;
  // When the curves could need more pieces than the budget allows, a first pass counts what
  // the view really needs, and every curve gets its share of the budget.
  double share = 1.0;
  double pieces = 0.0;
  const auto& segments = path.Segments();
  for (const Figure& figure : path.Figures()) {
    Vec2 current = figure.start;
    for (std::uint32_t i = 0; i < figure.segmentCount; ++i) {
      const Segment& s = segments[figure.firstSegment + i];
      pieces += Curve(current, s).Pieces(local);
      current = s.end;
    }
  }
  if (pieces > kMaxPathPieces) {
    // The count itself may only cost about as much as half the budget; when the view cannot
    // tell the curves' parts apart that cheaply, every curve gets its share of all pieces.
    Flattener counter(transform, view, nullptr, kMaxPathPieces / 2);
    for (const Figure& figure : path.Figures()) {
      if (!counter.GaveUp()) counter.Add(path, figure, local, 1.0);
    }
    const double needed = counter.GaveUp() ? pieces : static_cast<double>(counter.Count());
    if (needed > kMaxPathPieces) share = kMaxPathPieces / needed;
  }
  Flattener flattener(transform, view, &sink);
  for (const Figure& figure : path.Figures()) flattener.Add(path, figure, local, share);
}

}  // namespace standin
