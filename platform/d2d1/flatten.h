#pragma once
// Turns a path's curves into polylines whose distance from the true curve stays within a
// tolerance. The number of pieces follows the curvature and the tolerance, not a fixed count.
//
// Only the part of the output inside a view needs that accuracy: a stretch of curves whose hull
// lies outside it is replaced by its chord, which leaves every fill's winding inside the view as
// it was. A figure with a coordinate that is not finite adds nothing, and a path whose curves
// would need more than a fixed total of pieces is flattened more coarsely, so that the work per
// path stays bounded whatever its numbers.

#include "platform/d2d1/path.h"
#include "platform/d2d1/vec2.h"

namespace standin {

// Receives the flattened figures, already mapped through the transform.
class FlattenSink {
 public:
  virtual void BeginFigure(Vec2 start, bool filled) = 0;
  virtual void LineTo(Vec2 point) = 0;
  virtual void EndFigure(bool closed) = 0;

 protected:
  ~FlattenSink() = default;
};

// Where the flattened output is looked at. toView maps path coordinates into box's coordinates;
// hulls are widened by margin (there) before they are tested against box.
struct FlattenView {
  Affine toView;
  Box box{-Box::kInfinity, -Box::kInfinity, Box::kInfinity, Box::kInfinity};
  double margin = 0.0;
};

// tolerance is measured after the transform.
void FlattenPath(const Path& path, const Affine& transform, double tolerance,
                 const FlattenView& view, FlattenSink& sink);

// The most points one path is flattened into. When the view needs more, every curve of the
// path is flattened that much more coarsely.
constexpr int kMaxPathPieces = 1 << 16;

// The number of chords that keeps each within tolerance of the curve (at least 1).
int QuadraticPieces(Vec2 p0, Vec2 p1, Vec2 p2, double tolerance);
int CubicPieces(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, double tolerance);
int ArcPieces(double largerRadius, double sweep, double tolerance);

}  // namespace standin
