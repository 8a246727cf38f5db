#include "platform/d2d1/stroker.h"

#include <cmath>
#include <numbers>

namespace standin {
namespace {

// Turns below this (as the sine of the angle) are treated as straight.
constexpr double kStraight = 1e-9;
// Vertices turning by less than 30 degrees keep the outline shared.
const double kGentleCosine = std::cos(std::numbers::pi / 6.0);

}  // namespace

void Stroker::Start(double width, double miterLimit, const Affine& transform, EdgeSink& out) {
  half_ = std::fabs(width) / 2.0;
  miterLimit_ = miterLimit < 1.0 ? 1.0 : miterLimit;
  transform_ = transform;
  out_ = &out;
}

void Stroker::BeginFigure(Vec2 start, bool) {
  points_.clear();
  points_.push_back(start);
}

void Stroker::LineTo(Vec2 point) {
  const Vec2 last = points_.back();
  if (point.x != last.x || point.y != last.y) points_.push_back(point);
}

Vec2 Stroker::Offset(std::size_t segment) const {
  const Vec2 d = directions_[segment];
  return {-d.y * half_, d.x * half_};
}

// The offset of a gentle vertex: where the two segments' offset lines meet.
Vec2 Stroker::Miter(std::size_t in, std::size_t out) const {
  const Vec2 a = Offset(in), b = Offset(out);
  const double cosine = Dot(directions_[in], directions_[out]);
  return (a + b) * (1.0 / (1.0 + cosine));
}

// A vertex where the shared outline stays simple: a small turn, and segments long enough that
// the inner offset lines meet within both of them.
bool Stroker::Gentle(std::size_t in, std::size_t out) const {
  const double cosine = Dot(directions_[in], directions_[out]);
  if (cosine < kGentleCosine) return false;
  const double halfTurnTangent = std::sqrt((1.0 - cosine) / (1.0 + cosine));
  const double overlap = 2.0 * half_ * halfTurnTangent;
  return lengths_[in] > overlap && lengths_[out] > overlap;
}

void Stroker::EndFigure(bool closed) {
  if (half_ <= 0.0 || out_ == nullptr) return;
  std::size_t n = points_.size();
  if (closed && n > 1 && points_[0].x == points_[n - 1].x && points_[0].y == points_[n - 1].y) {
    --n;
  }
  if (n < 2) return;
  const std::size_t segments = closed ? n : n - 1;
  directions_.resize(segments);
  lengths_.resize(segments);
  for (std::size_t i = 0; i < segments; ++i) {
    const Vec2 d = points_[(i + 1) % n] - points_[i];
    lengths_[i] = Length(d);
    directions_[i] = d * (1.0 / lengths_[i]);
  }
  // Vertex v joins segment v - 1 to segment v; an open figure's end points join nothing.
  auto in = [&](std::size_t v) { return (v + segments - 1) % segments; };
  auto gentle = [&](std::size_t v) {
    if (!closed && (v == 0 || v == n - 1)) return false;
    return Gentle(in(v), v % segments);
  };

  // Start at a corner, so that every run of shared outline begins and ends at one.
  std::size_t first = 0;
  if (closed) {
    while (first < n && gentle(first)) ++first;
    if (first == n) {
      EmitRings(n);
      return;
    }
  }
  left_.clear();
  right_.clear();
  for (std::size_t k = 0; k < segments; ++k) {
    const std::size_t s = (first + k) % segments;
    const std::size_t start = s;
    const std::size_t end = (s + 1) % n;
    if (left_.empty()) {
      const Vec2 offset = Offset(s);
      left_.push_back(points_[start] + offset);
      right_.push_back(points_[start] - offset);
    }
    if (gentle(end) && k + 1 < segments) {
      const Vec2 miter = Miter(s, (s + 1) % segments);
      left_.push_back(points_[end] + miter);
      right_.push_back(points_[end] - miter);
      continue;
    }
    const Vec2 offset = Offset(s);
    left_.push_back(points_[end] + offset);
    right_.push_back(points_[end] - offset);
    EmitRun();
    if (closed || end != n - 1) {
      Join(points_[end], directions_[s], directions_[(s + 1) % segments]);
    }
  }
}

// One polygon: the left side of the run forwards, its right side backwards.
void Stroker::EmitRun() {
  mapped_.clear();
  for (const Vec2& p : left_) mapped_.push_back(transform_.Apply(p));
  for (auto p = right_.rbegin(); p != right_.rend(); ++p) mapped_.push_back(transform_.Apply(*p));
  left_.clear();
  right_.clear();
  const std::size_t count = mapped_.size();
  double area = 0.0;
  for (std::size_t i = 0; i < count; ++i) area += Cross(mapped_[i], mapped_[(i + 1) % count]);
  if (area == 0.0) return;
  if (area > 0.0) {
    for (std::size_t i = 0; i < count; ++i) out_->AddEdge(mapped_[i], mapped_[(i + 1) % count]);
  } else {
    for (std::size_t i = count; i > 0; --i) out_->AddEdge(mapped_[i % count], mapped_[i - 1]);
  }
}

// A closed figure without corners: the ring between its two offset loops.
void Stroker::EmitRings(std::size_t n) {
  mapped_.clear();
  for (std::size_t v = 0; v < n; ++v) {
    mapped_.push_back(transform_.Apply(points_[v] + Miter((v + n - 1) % n, v)));
  }
  for (std::size_t v = 0; v < n; ++v) {
    mapped_.push_back(transform_.Apply(points_[v] - Miter((v + n - 1) % n, v)));
  }
  double leftArea = 0.0, rightArea = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    leftArea += Cross(mapped_[i], mapped_[(i + 1) % n]);
    rightArea += Cross(mapped_[n + i], mapped_[n + (i + 1) % n]);
  }
  // The outer loop runs in the common orientation, the inner one against it.
  const bool leftOuter = std::fabs(leftArea) > std::fabs(rightArea);
  const bool forward = (leftOuter ? leftArea : rightArea) > 0.0;
  for (std::size_t ring = 0; ring < 2; ++ring) {
    const Vec2* loop = mapped_.data() + ring * n;
    const bool outer = (ring == 0) == leftOuter;
    if (outer == forward) {
      for (std::size_t i = 0; i < n; ++i) out_->AddEdge(loop[i], loop[(i + 1) % n]);
    } else {
      for (std::size_t i = n; i > 0; --i) out_->AddEdge(loop[i % n], loop[i - 1]);
    }
  }
}

void Stroker::Join(Vec2 vertex, Vec2 in, Vec2 out) {
  const double turn = Cross(in, out);
  if (std::fabs(turn) < kStraight && Dot(in, out) > 0.0) return;
  // The outer side lies against the turn.
  const double side = turn > 0.0 ? -1.0 : 1.0;
  const Vec2 u0{-in.y * side, in.x * side};    // unit offsets of the two segments' outer edges
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

void Stroker::Piece(const Vec2* corners, int count) {
  Vec2 mapped[5];
  double area = 0.0;
  for (int i = 0; i < count; ++i) mapped[i] = transform_.Apply(corners[i]);
  for (int i = 0; i < count; ++i) area += Cross(mapped[i], mapped[(i + 1) % count]);
  if (area == 0.0) return;
  // One orientation for every piece, so overlaps add up instead of cancelling.
  if (area > 0.0) {
    for (int i = 0; i < count; ++i) out_->AddEdge(mapped[i], mapped[(i + 1) % count]);
  } else {
    for (int i = count; i > 0; --i) out_->AddEdge(mapped[i % count], mapped[i - 1]);
  }
}

}  // namespace standin
