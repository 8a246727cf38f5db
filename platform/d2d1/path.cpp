#include "platform/d2d1/path.h"

namespace standin {

void Path::Clear() {
  figures_.clear();
  segments_.clear();
  fillRule_ = FillRule::Alternate;
}

void Path::BeginFigure(Vec2 start, bool filled) {
  Figure figure;
  figure.start = start;
  figure.filled = filled;
  figure.firstSegment = static_cast<std::uint32_t>(segments_.size());
  figures_.push_back(figure);
  current_ = start;
}

void Path::Add(const Segment& segment) {
  segments_.push_back(segment);
  ++figures_.back().segmentCount;
  current_ = segment.end;
}

void Path::LineTo(Vec2 end) {
  Segment segment;
  segment.end = end;
  Add(segment);
}

void Path::QuadraticTo(Vec2 control, Vec2 end) {
  Segment segment;
  segment.kind = Segment::Kind::Quadratic;
  segment.control1 = control;
  segment.end = end;
  Add(segment);
}

void Path::CubicTo(Vec2 control1, Vec2 control2, Vec2 end) {
  Segment segment;
  segment.kind = Segment::Kind::Cubic;
  segment.control1 = control1;
  segment.control2 = control2;
  segment.end = end;
  Add(segment);
}

void Path::ArcTo(Vec2 end, double rx, double ry, double rotationDegrees, bool clockwise,
                 bool large) {
  Segment segment;
  segment.kind = Segment::Kind::Arc;
  segment.end = end;
  segment.arc = SolveEndpointArc(current_, end, rx, ry, rotationDegrees, clockwise, large);
  Add(segment);
}

void Path::EndFigure(bool closed) { figures_.back().closed = closed; }

}  // namespace standin
