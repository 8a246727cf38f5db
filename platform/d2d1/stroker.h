#pragma once
// Strokes with Direct2D's default stroke style (flat caps, miter joins, miter limit 10) as a
// set of small polygons: one rectangle of the stroke width per flattened segment, and one join
// piece on the outer side of each corner, the miter cut off square at the limit. Every piece is
// emitted with the same orientation, so their union is what a winding fill covers.

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

  double half_ = 0.5;
  double miterLimit_ = 10.0;
  Affine transform_;
  EdgeSink* out_ = nullptr;
  std::vector<Vec2> points_;  // the current figure, kept between figures for its capacity
};

}  // namespace standin
