#pragma once
// Strokes with Direct2D's default stroke style (flat caps, miter joins, miter limit 10) as a
// set of polygons filled with the winding rule. Where a flattened curve bends gently its
// segments share one outline, offset by half the width on each side with mitered vertices
// (which is exactly the miter join there). At sharp corners the outline breaks: each side is
// cut square, and a join piece on the outer side adds the miter, cut off at the limit. Every
// polygon is emitted with the same orientation, so their union is what a winding fill covers.
//
// Where the half width exceeds the curve's radius, the inner side of the shared outline folds
// back over the centre. The outline stays one piece of the stroke all the same: it is split
// where neighbouring cross-pieces meet, into the part on the outer side and the part beyond the
// centre, each filled with winding one.
//
// A figure is kept whole while it is short; a longer one is stroked as it comes, holding only
// its first stretch (up to its first corner) until it ends, so the working lists stay bounded.

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
  // transform too and mapped through it on the way out. frame is the target, in output
  // coordinates.
  void Start(double width, double miterLimit, const Affine& transform, const Box& frame,
             EdgeSink& out);

  void BeginFigure(Vec2 start, bool filled) override;
  void LineTo(Vec2 point) override;
  void EndFigure(bool closed) override;

  // Gives back what an unusually long figure made the working lists grow to.
  void Trim();

  // Whether one piece of the stroke covered the whole frame. From then on the stroker hands over
  // nothing more: the caller fills the frame.
  bool CoveredFrame() const { return coveredFrame_; }

 private:
  struct Segment {
    Vec2 from, to;
    Vec2 direction;  // unit
    double length = 0.0;
  };

  Segment MakeSegment(Vec2 from, Vec2 to) const;
  Segment Buffered(std::size_t i, std::size_t n) const;  // segment i of the buffered points
  bool Smooth(const Segment& in, const Segment& out) const;
  Vec2 Offset(const Segment& segment) const;
  Vec2 Miter(const Segment& in, const Segment& out) const;

  void StrokeBuffered(bool closed);
  void StartStreaming();
  void FinishStreaming(bool closed);
  void StrokeHead(const Segment* before);

  void Step(const Segment& segment, const Segment* next);
  void StartRun(Vec2 point, Vec2 rung);
  void AddRung(Vec2 point, Vec2 rung);
  void EndRun();
  void EmitRun();
  void EmitFolded();
  void EmitPolygon(const Vec2* mapped, std::size_t count, bool convex);
  void EmitLoop(const Vec2* loop, std::size_t count, bool forward);
  void EmitRings(std::size_t n);
  void Piece(const Vec2* corners, std::size_t count);
  void Join(Vec2 vertex, Vec2 in, Vec2 out);
  bool Covers(const Vec2* mapped, std::size_t count, double area);

  double half_ = 0.5;
  double miterLimit_ = 10.0;
  Affine transform_;
  Box frame_;
  bool coveredFrame_ = false;
  EdgeSink* out_ = nullptr;

  // The figure while it is short; once it streams, its first stretch up to the split vertex.
  std::vector<Vec2> points_;
  bool streaming_ = false;
  bool splitAtCorner_ = false;  // the stream began at a corner rather than inside a bend
  Segment split_;               // the first streamed segment, which leaves the split vertex
  Segment pending_;             // the last segment, waiting for the one after it
  Vec2 last_;

  // The open run: rungs are the cross-pieces p +- r between its two sides.
  bool runOpen_ = false;
  bool folded_ = false;  // the run's rungs cross each other: its outline folds over itself
  double foldSide_ = 0.0;
  Vec2 rungPoint_, rung_;
  std::vector<Vec2> left_, right_, crossings_, mapped_;
};

}  // namespace standin
