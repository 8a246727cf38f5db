#pragma once
// Plain geometry values shared by the stand-in's path, flattening and raster code. Double
// precision throughout: the public interface hands over floats, the work is done in doubles.

#include <cmath>
#include <limits>

namespace standin {

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline double Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

// Direct2D's row-vector affine matrix: (x, y) maps to
// (x * m11 + y * m21 + dx, x * m12 + y * m22 + dy).
struct Affine {
  double m11 = 1.0, m12 = 0.0;
  double m21 = 0.0, m22 = 1.0;
  double dx = 0.0, dy = 0.0;

  Vec2 Apply(Vec2 p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  // The linear part only (for directions).
  Vec2 ApplyLinear(Vec2 v) const { return {v.x * m11 + v.y * m21, v.x * m12 + v.y * m22}; }
  // An upper bound of how much the matrix can stretch a length (its Frobenius norm).
  double MaxScale() const { return std::sqrt(m11 * m11 + m12 * m12 + m21 * m21 + m22 * m22); }

  static Affine Scale(double sx, double sy) { return {sx, 0.0, 0.0, sy, 0.0, 0.0}; }
};

// first applied, then second.
inline Affine Then(const Affine& first, const Affine& second) {
  return {first.m11 * second.m11 + first.m12 * second.m21,
          first.m11 * second.m12 + first.m12 * second.m22,
          first.m21 * second.m11 + first.m22 * second.m21,
          first.m21 * second.m12 + first.m22 * second.m22,
          first.dx * second.m11 + first.dy * second.m21 + second.dx,
          first.dx * second.m12 + first.dy * second.m22 + second.dy};
}

struct Box {
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();
  double left = kInfinity, top = kInfinity, right = -kInfinity, bottom = -kInfinity;

  void Add(Vec2 p) {
    if (p.x < left) left = p.x;
    if (p.x > right) right = p.x;
    if (p.y < top) top = p.y;
    if (p.y > bottom) bottom = p.y;
  }
  bool Empty() const { return left > right || top > bottom; }
};

}  // namespace standin
