#pragma once
// Turns a path's curves into polylines whose distance from the true curve stays within a
// tolerance. The number of pieces follows the curvature and the tolerance, not a fixed count.

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

// tolerance is measured after the transform.
void FlattenPath(const Path& path, const Affine& transform, double tolerance, FlattenSink& sink);

// The number of chords that keeps each within tolerance of the curve (at least 1).
int QuadraticPieces(Vec2 p0, Vec2 p1, Vec2 p2, double tolerance);
int CubicPieces(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, double tolerance);
int ArcPieces(double largerRadius, double sweep, double tolerance);

}  // namespace standin
