#include "platform/d2d1/stroker.h"

#include <cmath>

namespace standin {
namespace {

// Turns below this (as the sine of the angle) are treated as straight.
constexpr double kStraight = 1e-9;

Vec2 Normalised(Vec2 v) {
  const double length = Length(v);
  return length > 0.0 ? v * (1.0 / length) : Vec2{};
}

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

void Stroker::EndFigure(bool closed) {
  if (half_ <= 0.0 || out_ == nullptr) return;
  size_t n = points_.size();
  if (closed && n > 1 && points_[0].x == points_[n - 1].x && points_[0].y == points_[n - 1].y) {
    --n;
  }
  if (n < 2) return;
  const size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    const Vec2 a = points_[i];
    const Vec2 b = points_[(i + 1) % n];
    const Vec2 d = Normalised(b - a);
    const Vec2 normal{-d.y * half_, d.x * half_};
    const Vec2 quad[4] = {a + normal, b + normal, b - normal, a - normal};
    Piece(quad, 4);
  }
  const size_t firstJoin = closed ? 0 : 1;
  const size_t lastJoin = closed ? n : n - 1;
  for (size_t i = firstJoin; i < lastJoin; ++i) {
    const Vec2 vertex = points_[i];
    const Vec2 before = points_[(i + n - 1) % n];
    const Vec2 after = points_[(i + 1) % n];
    Join(vertex, Normalised(vertex - before), Normalised(after - vertex));
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
