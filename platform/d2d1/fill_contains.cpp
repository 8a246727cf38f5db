#include "platform/d2d1/fill_contains.h"

#include <algorithm>
#include <cstdlib>

#include "platform/d2d1/flatten.h"

namespace standin {
namespace {

class ContainmentProbe final : public FlattenSink {
 public:
  explicit ContainmentProbe(Vec2 point) : point_(point) {}

  void BeginFigure(Vec2 start, bool filled) override {
    filled_ = filled;
    start_ = start;
    last_ = start;
  }
  void LineTo(Vec2 point) override {
    if (filled_) Edge(last_, point);
    last_ = point;
  }
  // Fills close every figure, open or not.
  void EndFigure(bool) override {
    if (filled_) Edge(last_, start_);
  }

  int Winding() const { return winding_; }
  double NearestSquared() const { return nearestSquared_; }

 private:
  void Edge(Vec2 a, Vec2 b) {
    const Vec2 p = point_;
    if (a.y <= p.y) {
      if (b.y > p.y && Cross(b - a, p - a) > 0.0) ++winding_;
    } else if (b.y <= p.y && Cross(b - a, p - a) < 0.0) {
      --winding_;
    }
    const Vec2 ab = b - a;
    const double span = Dot(ab, ab);
    double t = span > 0.0 ? Dot(p - a, ab) / span : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const Vec2 off = p - (a + ab * t);
    nearestSquared_ = std::min(nearestSquared_, Dot(off, off));
  }

  Vec2 point_;
  Vec2 start_, last_;
  bool filled_ = true;
  int winding_ = 0;
  double nearestSquared_ = 1e300;
};

}  // namespace

bool PathFillContains(const Path& path, const Affine& transform, double tolerance, Vec2 point) {
  ContainmentProbe probe(point);
  // Curves that stay farther than the tolerance from the point only need their chords: the
  // winding around the point and the nearness test come out the same.
  FlattenView view;
  view.toView = transform;
  view.box = {point.x - tolerance, point.y - tolerance, point.x + tolerance, point.y + tolerance};
  FlattenPath(path, transform, tolerance, view, probe);
  const bool inside = path.GetFillRule() == FillRule::Winding
                          ? probe.Winding() != 0
                          : (std::abs(probe.Winding()) & 1) != 0;
  return inside || probe.NearestSquared() < tolerance * tolerance;
}

}  // namespace standin
