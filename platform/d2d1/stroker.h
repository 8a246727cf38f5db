#pragma once
// Strokes with Direct2D's default stroke style (flat caps, miter joins, miter limit 10) as a
// set of polygons filled with the winding rule. Where a flattened curve bends gently its
// segments share one outline, offset by half the width on each side with mitered vertices
// (which is exactly the miter join there). At sharp corners the outline breaks: each side is
// cut square, and a join piece on the outer side adds the miter, cut off at the limit. Every
// polygon is emitted with the same orientation, so their union is what a winding fill covers.

#include <cstddef>
#include <vector>

#include "platform/d2d1/flatten.h"
#include "platform/d2d1/vec2.h"

namespace standin {

// Receives the edges of the stroke's pieces, in output coordinates.
class EdgeSink {
 public:
  virtual void AddEdge(Vec2 from, Vec2 to) = 0;

 protected:
  ~EdgeSink() = default;
};

class Stroker final : public FlattenSink {
 public:
  // width and the corners are measured before the transform; points are flattened before the
  // transform too and mapped through it on the way out.
  void Start(double width, double miterLimit, const Affine& transform, EdgeSink& out);

  void BeginFigure(Vec2 start, bool filled) override;
  void LineTo(Vec2 point) override;
  void EndFigure(bool closed) override;

 private:
  void Piece(const Vec2* corners, int count);
  void Join(Vec2 vertex, Vec2 in, Vec2 out);
  bool Gentle(std::size_t in, std::size_t out) const;
  Vec2 Offset(std::size_t segment) const;
  Vec2 Miter(std::size_t in, std::size_t out) const;
  void EmitRun();
  void EmitRings(std::size_t n);

  double half_ = 0.5;
  double miterLimit_ = 10.0;
  Affine transform_;
  EdgeSink* out_ = nullptr;
  // The current figure and its working lists, kept between figures for their capacity.
  std::vector<Vec2> points_;
  std::vector<Vec2> directions_;  // unit direction of each segment
  std::vector<double> lengths_;
  std::vector<Vec2> left_, right_, mapped_;
};

}  // namespace standin
