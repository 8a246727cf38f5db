#include "platform/d2d1/stroker.h"

#include <cmath>
#include <numbers>

namespace standin {
namespace {

// Turns below this (as the sine of the angle) are treated as straight.
constexpr double kStraight = 1e-9;
// Vertices turning by less than 30 degrees keep the outline shared.
const double kGentleCosine = std::cos(std::numbers::pi / 6.0);
// Figures up to this many points are stroked whole; longer ones as they come.
constexpr std::size_t kBuffered = 2048;
// A run of shared outline longer than this is handed over in parts (only when streaming: a
// buffered figure never has that many).
constexpr std::size_t kRunLimit = kBuffered + 2;
// What the working lists keep between figures.
constexpr std::size_t kKept = 512;

bool Same(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

// Where the rungs p0 +- r0 and p1 +- r1 cross, if they do.
bool RungsCross(Vec2 p0, Vec2 r0, Vec2 p1, Vec2 r1, Vec2* crossing) {
  const double denominator = Cross(r0, r1);
  if (denominator == 0.0) return false;
  const Vec2 q = p1 - p0;
  const double t = Cross(q, r1) / denominator;
  const double u = Cross(q, r0) / denominator;
  if (!(std::fabs(t) <= 1.0 && std::fabs(u) <= 1.0)) return false;
  *crossing = p0 + r0 * t;
  return true;
}

// Twice the signed area of the closed polygon.
double SignedArea(const Vec2* points, std::size_t count) {
  double area = 0.0;
  for (std::size_t i = 0; i < count; ++i) area += Cross(points[i], points[(i + 1) % count]);
  return area;
}

template <typename T>
void Release(std::vector<T>& list) {
  if (list.capacity() > kKept) std::vector<T>().swap(list);
}

}  // namespace

void Stroker::Start(double width, double miterLimit, const Affine& transform, const Box& frame,
                    EdgeSink& out) {
  half_ = std::fabs(width) / 2.0;
  if (!std::isfinite(half_)) half_ = 0.0;
  miterLimit_ = miterLimit < 1.0 ? 1.0 : miterLimit;
  transform_ = transform;
  frame_ = frame;
  coveredFrame_ = false;
  out_ = &out;
}

void Stroker::Trim() {
  Release(points_);
  Release(left_);
  Release(right_);
  Release(crossings_);
  Release(mapped_);
}

void Stroker::BeginFigure(Vec2 start, bool) {
  points_.clear();
  points_.push_back(start);
  streaming_ = false;
  runOpen_ = false;
  last_ = start;
}

void Stroker::LineTo(Vec2 point) {
  if (Same(point, last_) || coveredFrame_) return;
  if (streaming_) {
    const Segment next = MakeSegment(last_, point);
    Step(pending_, &next);
    pending_ = next;
  } else {
    points_.push_back(point);
    if (points_.size() > kBuffered) StartStreaming();
  }
  last_ = point;
}

void Stroker::EndFigure(bool closed) {
  if (half_ <= 0.0 || out_ == nullptr || coveredFrame_) return;
  if (streaming_) {
    FinishStreaming(closed);
  } else {
    StrokeBuffered(closed);
  }
}

Stroker::Segment Stroker::MakeSegment(Vec2 from, Vec2 to) const {
  Segment s;
  s.from = from;
  s.to = to;
  const Vec2 d = to - from;
  s.length = Length(d);
  s.direction = d * (1.0 / s.length);
  // A length so small that its inverse overflows.
  if (!std::isfinite(s.direction.x) || !std::isfinite(s.direction.y)) {
    s.direction = {d.x / s.length, d.y / s.length};
  }
  return s;
}

Stroker::Segment Stroker::Buffered(std::size_t i, std::size_t n) const {
  return MakeSegment(points_[i], points_[(i + 1) % n]);
}

Vec2 Stroker::Offset(const Segment& segment) const {
  const Vec2 d = segment.direction;
  return {-d.y * half_, d.x * half_};
}

// The offset of a smooth vertex: where the two segments' offset lines meet.
Vec2 Stroker::Miter(const Segment& in, const Segment& out) const {
  const Vec2 a = Offset(in), b = Offset(out);
  const double cosine = Dot(in.direction, out.direction);
  return (a + b) * (1.0 / (1.0 + cosine));
}

// A vertex where the outline stays shared: a small turn.
bool Stroker::Smooth(const Segment& in, const Segment& out) const {
  return !(Dot(in.direction, out.direction) < kGentleCosine);
}

void Stroker::StrokeBuffered(bool closed) {
  std::size_t n = points_.size();
  if (closed && n > 1 && Same(points_[0], points_[n - 1])) --n;
  if (n < 2) return;
  const std::size_t segments = closed ? n : n - 1;
  if (!closed) {
    for (std::size_t s = 0; s < segments; ++s) {
      const Segment next = Buffered(s + 1, n);
      Step(Buffered(s, n), s + 1 < segments ? &next : nullptr);
    }
    return;
  }
  // Vertex v joins segment v - 1 to segment v. Start at a corner, so that every run of shared
  // outline begins and ends at one.
  auto corner = [&](std::size_t v) {
    return !Smooth(Buffered((v + n - 1) % n, n), Buffered(v, n));
  };
  std::size_t first = 0;
  while (first < n && !corner(first)) ++first;
  if (first == n) {
    // No corner at all: a ring, unless its inner side folds over the centre.
    bool folds = false;
    Vec2 crossing;
    for (std::size_t v = 0; v < n && !folds; ++v) {
      const std::size_t w = (v + 1) % n;
      folds = RungsCross(points_[v], Miter(Buffered((v + n - 1) % n, n), Buffered(v, n)),
                         points_[w], Miter(Buffered(v, n), Buffered(w, n)), &crossing);
    }
    if (!folds) {
      EmitRings(n);
      return;
    }
    StartRun(points_[0], Miter(Buffered(n - 1, n), Buffered(0, n)));
    for (std::size_t s = 0; s < n; ++s) {
      const std::size_t w = (s + 1) % n;
      AddRung(points_[w], Miter(Buffered(s, n), Buffered(w, n)));
    }
    EndRun();
    return;
  }
  for (std::size_t k = 0; k < segments; ++k) {
    const std::size_t s = (first + k) % segments;
    const Segment next = Buffered((s + 1) % segments, n);
    Step(Buffered(s, n), &next);
  }
}

// The buffer is full: stroke what is known, from the first corner after the start (or, when
// there is none, from inside the bend), and keep the points before it for the end.
void Stroker::StartStreaming() {
  const std::size_t n = points_.size();  // segments 0 .. n - 2 are known
  std::size_t split = 1;
  while (split + 1 < n - 1 && Smooth(Buffered(split - 1, n), Buffered(split, n))) ++split;
  splitAtCorner_ = !Smooth(Buffered(split - 1, n), Buffered(split, n));
  split_ = Buffered(split, n);
  StartRun(points_[split], splitAtCorner_ ? Offset(split_) : Miter(Buffered(split - 1, n), split_));
  for (std::size_t s = split; s + 2 < n; ++s) {
    const Segment next = Buffered(s + 1, n);
    Step(Buffered(s, n), &next);
  }
  pending_ = Buffered(n - 2, n);
  points_.resize(split + 1);
  streaming_ = true;
}

void Stroker::FinishStreaming(bool closed) {
  if (!closed) {
    Step(pending_, nullptr);
    StrokeHead(nullptr);
    return;
  }
  if (!Same(last_, points_[0])) {
    const Segment closing = MakeSegment(last_, points_[0]);
    Step(pending_, &closing);
    pending_ = closing;
  }
  StrokeHead(&pending_);
}

// The points held back, up to the split vertex where the stream began; before is the segment
// that leads into the figure's start, when it is closed.
void Stroker::StrokeHead(const Segment* before) {
  const std::size_t count = points_.size() - 1;  // segments in the head
  for (std::size_t i = 0; i <= count; ++i) {
    const Segment segment = i < count ? MakeSegment(points_[i], points_[i + 1]) : split_;
    if (i == 0) {
      if (before != nullptr) Step(*before, &segment);
    } else {
      const Segment previous = MakeSegment(points_[i - 1], points_[i]);
      Step(previous, &segment);
    }
  }
  // Split inside a bend, the last run ends on the rung the stream began with.
  EndRun();
}

// One segment of a run; next is the segment after it, if the figure goes on.
void Stroker::Step(const Segment& segment, const Segment* next) {
  if (!runOpen_) StartRun(segment.from, Offset(segment));
  if (next != nullptr && Smooth(segment, *next)) {
    AddRung(segment.to, Miter(segment, *next));
    return;
  }
  AddRung(segment.to, Offset(segment));
  EndRun();
  if (next != nullptr) Join(segment.to, segment.direction, next->direction);
}

void Stroker::StartRun(Vec2 point, Vec2 rung) {
  runOpen_ = true;
  folded_ = false;
  left_.clear();
  right_.clear();
  crossings_.clear();
  left_.push_back(point + rung);
  right_.push_back(point - rung);
  rungPoint_ = point;
  rung_ = rung;
}

// The next rung of the open run. Two rungs that cross make the quadrilateral between them a
// bow tie: its two triangles meet at the crossing, and the run continues as a folded one.
void Stroker::AddRung(Vec2 point, Vec2 rung) {
  Vec2 crossing;
  const bool crossed = RungsCross(rungPoint_, rung_, point, rung, &crossing);
  if (crossed) {
    const Vec2 a0 = rungPoint_ + rung_, a1 = point + rung;
    const double side = Cross(a1 - a0, crossing - a0) > 0.0 ? 1.0 : -1.0;
    if (!folded_ || side != foldSide_) {
      if (left_.size() > 1) EndRun();
      StartRun(rungPoint_, rung_);
      folded_ = true;
      foldSide_ = side;
    }
    crossings_.push_back(crossing);
  } else if (folded_) {
    EndRun();
    StartRun(rungPoint_, rung_);
  }
  left_.push_back(point + rung);
  right_.push_back(point - rung);
  rungPoint_ = point;
  rung_ = rung;
  if (left_.size() >= kRunLimit) {
    EndRun();
    StartRun(point, rung);
  }
}

void Stroker::EndRun() {
  if (!runOpen_) return;
  runOpen_ = false;
  if (left_.size() < 2) return;
  if (folded_) {
    EmitFolded();
  } else {
    EmitRun();
  }
}

// One polygon: the left side of the run forwards, its right side backwards.
void Stroker::EmitRun() {
  mapped_.clear();
  for (const Vec2& p : left_) mapped_.push_back(transform_.Apply(p));
  for (auto p = right_.rbegin(); p != right_.rend(); ++p) mapped_.push_back(transform_.Apply(*p));
  // A single quadrilateral is convex (its rungs do not cross).
  EmitPolygon(mapped_.data(), mapped_.size(), mapped_.size() == 4);
}

// A folded run is the sum of its bow ties' triangles: those on the left side's end of each
// rung add up to the left side followed by the crossings backwards, the others to the
// crossings followed by the right side backwards.
void Stroker::EmitFolded() {
  mapped_.clear();
  for (const Vec2& p : left_) mapped_.push_back(transform_.Apply(p));
  for (auto p = crossings_.rbegin(); p != crossings_.rend(); ++p) {
    mapped_.push_back(transform_.Apply(*p));
  }
  EmitPolygon(mapped_.data(), mapped_.size(), false);
  mapped_.clear();
  for (const Vec2& p : crossings_) mapped_.push_back(transform_.Apply(p));
  for (auto p = right_.rbegin(); p != right_.rend(); ++p) mapped_.push_back(transform_.Apply(*p));
  EmitPolygon(mapped_.data(), mapped_.size(), false);
}

// A mapped polygon, in the common orientation, so that overlaps add up instead of cancelling.
// Only a convex one may be found to cover the whole frame.
void Stroker::EmitPolygon(const Vec2* mapped, std::size_t count, bool convex) {
  const double area = SignedArea(mapped, count);
  if (area == 0.0 || coveredFrame_) return;
  if (convex && Covers(mapped, count, area)) return;
  EmitLoop(mapped, count, area > 0.0);
}

// The edges of a closed loop, forwards or backwards.
void Stroker::EmitLoop(const Vec2* loop, std::size_t count, bool forward) {
  if (forward) {
    for (std::size_t i = 0; i < count; ++i) out_->AddEdge(loop[i], loop[(i + 1) % count]);
  } else {
    for (std::size_t i = count; i > 0; --i) out_->AddEdge(loop[i % count], loop[i - 1]);
  }
}

// A closed figure without corners: the ring between its two offset loops.
void Stroker::EmitRings(std::size_t n) {
  mapped_.clear();
  for (std::size_t v = 0; v < n; ++v) {
    mapped_.push_back(
        transform_.Apply(points_[v] + Miter(Buffered((v + n - 1) % n, n), Buffered(v, n))));
  }
  for (std::size_t v = 0; v < n; ++v) {
    mapped_.push_back(
        transform_.Apply(points_[v] - Miter(Buffered((v + n - 1) % n, n), Buffered(v, n))));
  }
  const double leftArea = SignedArea(mapped_.data(), n);
  const double rightArea = SignedArea(mapped_.data() + n, n);
  // The outer loop runs in the common orientation, the inner one against it.
  const bool leftOuter = std::fabs(leftArea) > std::fabs(rightArea);
  const bool forward = (leftOuter ? leftArea : rightArea) > 0.0;
  for (std::size_t ring = 0; ring < 2; ++ring) {
    const bool outer = (ring == 0) == leftOuter;
    EmitLoop(mapped_.data() + ring * n, n, outer == forward);
  }
}

void Stroker::Join(Vec2 vertex, Vec2 in, Vec2 out) {
  const double turn = Cross(in, out);
  if (std::fabs(turn) < kStraight && Dot(in, out) > 0.0) return;
  // The outer side lies against the turn.
  const double side = turn > 0.0 ? -1.0 : 1.0;
  const Vec2 u0{-in.y * side, in.x * side};  // unit offsets of the two segments' outer edges
  const Vec2 u1{-out.y * side, out.x * side};
  const Vec2 p0 = vertex + u0 * half_;
  const Vec2 p1 = vertex + u1 * half_;
  const Vec2 bisector = u0 + u1;
  const double bisectorLength = Length(bisector);  // 2 cos(turn / 2)
  const double limit = miterLimit_ * half_;
  if (bisectorLength > 1e-12 && 2.0 * half_ / bisectorLength <= limit) {
    const Vec2 tip = vertex + bisector * (2.0 * half_ / (bisectorLength * bisectorLength));
    const Vec2 miter[4] = {vertex, p0, tip, p1};
    Piece(miter, 4);
    return;
  }
  // Too long: cut the miter square to the bisector at the limit distance from the vertex.
  const Vec2 axis = bisectorLength > 1e-12 ? bisector * (1.0 / bisectorLength) : in;
  const double reach = Dot(u0 * half_, axis);  // how far p0 and p1 already stand out
  if (limit <= reach) {
    const Vec2 bevel[3] = {vertex, p0, p1};
    Piece(bevel, 3);
    return;
  }
  // Along each outer edge, continued past p0 (or p1) in its segment's direction.
  const double along0 = Dot(in, axis);
  const double along1 = -Dot(out, axis);
  const double t0 = along0 > 1e-12 ? (limit - reach) / along0 : 0.0;
  const double t1 = along1 > 1e-12 ? (limit - reach) / along1 : 0.0;
  const Vec2 cut[5] = {vertex, p0, p0 + in * t0, p1 - out * t1, p1};
  Piece(cut, 5);
}

// A join piece: convex, at most five corners.
void Stroker::Piece(const Vec2* corners, std::size_t count) {
  Vec2 mapped[5];
  for (std::size_t i = 0; i < count; ++i) mapped[i] = transform_.Apply(corners[i]);
  EmitPolygon(mapped, count, true);
}

// Whether the convex polygon (of signed area area) holds the frame's four corners. Once one
// does, the stroke covers the whole frame and what follows can only add to full cover.
bool Stroker::Covers(const Vec2* mapped, std::size_t count, double area) {
  const Vec2 corners[4] = {{frame_.left, frame_.top},
                           {frame_.right, frame_.top},
                           {frame_.right, frame_.bottom},
                           {frame_.left, frame_.bottom}};
  for (const Vec2& c : corners) {
    for (std::size_t i = 0; i < count; ++i) {
      const Vec2 a = mapped[i], b = mapped[(i + 1) % count];
      const double side = Cross(b - a, c - a);
      if (!(area > 0.0 ? side >= 0.0 : side <= 0.0)) return false;
    }
  }
  coveredFrame_ = true;
  return true;
}

}  // namespace standin
