#pragma once
// The contents of a path geometry: figures of line, Bézier and arc segments, as the geometry
// sink writes them. Arcs are stored already solved into centre form.

#include <cstdint>
#include <vector>

#include "platform/d2d1/endpoint_arc.h"
#include "platform/d2d1/vec2.h"

namespace standin {

enum class FillRule { Alternate, Winding };

struct Segment {
  enum class Kind : std::uint8_t { Line, Quadratic, Cubic, Arc };
  Kind kind = Kind::Line;
  Vec2 control1;
  Vec2 control2;
  Vec2 end;
  EndpointArc arc;  // Kind::Arc only
};

struct Figure {
  Vec2 start;
  bool filled = true;
  bool closed = false;
  std::uint32_t firstSegment = 0;
  std::uint32_t segmentCount = 0;
};

class Path {
 public:
  void Clear();
  void SetFillRule(FillRule rule) { fillRule_ = rule; }
  FillRule GetFillRule() const { return fillRule_; }

  // The figure calls; the caller keeps them in order (Begin, segments, End).
  void BeginFigure(Vec2 start, bool filled);
  void LineTo(Vec2 end);
  void QuadraticTo(Vec2 control, Vec2 end);
  void CubicTo(Vec2 control1, Vec2 control2, Vec2 end);
  void ArcTo(Vec2 end, double rx, double ry, double rotationDegrees, bool clockwise, bool large);
  void EndFigure(bool closed);

  const std::vector<Figure>& Figures() const { return figures_; }
  const std::vector<Segment>& Segments() const { return segments_; }

 private:
  void Add(const Segment& segment);

  FillRule fillRule_ = FillRule::Alternate;
  std::vector<Figure> figures_;
  std::vector<Segment> segments_;
  Vec2 current_;
};

}  // namespace standin
