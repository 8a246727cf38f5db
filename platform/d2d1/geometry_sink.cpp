#include "platform/d2d1/geometry_sink.h"

#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/standin_interfaces.h"

namespace standin {

void GeometrySink::Fail(HRESULT failure) {
  if (SUCCEEDED(failure_)) failure_ = failure;
}

bool GeometrySink::SegmentAllowed(const void* data, UINT count) {
  if (closed_) return false;
  if (!inFigure_ || (data == nullptr && count > 0)) {
    Fail(D2DERR_WRONG_STATE);
    return false;
  }
  return true;
}

void STDMETHODCALLTYPE GeometrySink::SetFillMode(D2D1_FILL_MODE fillMode) {
  if (closed_) return;
  // The fill mode belongs to the whole geometry: it may only be chosen before the first figure.
  if (begun_) {
    Fail(D2DERR_WRONG_STATE);
    return;
  }
  switch (fillMode) {
    case D2D1_FILL_MODE_ALTERNATE:
      geometry_->Writable().SetFillRule(FillRule::Alternate);
      break;
    case D2D1_FILL_MODE_WINDING:
      geometry_->Writable().SetFillRule(FillRule::Winding);
      break;
    default:
      Fail(D2DERR_WRONG_STATE);
      break;
  }
}

// Unstroked segments and round joins: the stand-in strokes every segment with miter joins.
void STDMETHODCALLTYPE GeometrySink::SetSegmentFlags(D2D1_PATH_SEGMENT flags) {
  if (!closed_ && flags != D2D1_PATH_SEGMENT_NONE) Fail(E_NOTIMPL);
}

void STDMETHODCALLTYPE GeometrySink::BeginFigure(D2D1_POINT_2F startPoint,
                                                 D2D1_FIGURE_BEGIN figureBegin) {
  if (closed_) return;
  if (inFigure_ ||
      (figureBegin != D2D1_FIGURE_BEGIN_FILLED && figureBegin != D2D1_FIGURE_BEGIN_HOLLOW)) {
    Fail(D2DERR_WRONG_STATE);
    return;
  }
  geometry_->Writable().BeginFigure(ToVec2(startPoint), figureBegin == D2D1_FIGURE_BEGIN_FILLED);
  inFigure_ = true;
  begun_ = true;
}

void STDMETHODCALLTYPE GeometrySink::AddLines(const D2D1_POINT_2F* points, UINT count) {
  if (!SegmentAllowed(points, count)) return;
  for (UINT i = 0; i < count; ++i) geometry_->Writable().LineTo(ToVec2(points[i]));
}

void STDMETHODCALLTYPE GeometrySink::AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT count) {
  if (!SegmentAllowed(beziers, count)) return;
  for (UINT i = 0; i < count; ++i) {
    geometry_->Writable().CubicTo(ToVec2(beziers[i].point1), ToVec2(beziers[i].point2),
                                  ToVec2(beziers[i].point3));
  }
}

void STDMETHODCALLTYPE GeometrySink::EndFigure(D2D1_FIGURE_END figureEnd) {
  if (closed_) return;
  if (!inFigure_ || (figureEnd != D2D1_FIGURE_END_OPEN && figureEnd != D2D1_FIGURE_END_CLOSED)) {
    Fail(D2DERR_WRONG_STATE);
    return;
  }
  geometry_->Writable().EndFigure(figureEnd == D2D1_FIGURE_END_CLOSED);
  inFigure_ = false;
}

HRESULT STDMETHODCALLTYPE GeometrySink::Close() {
  if (closed_) return D2DERR_WRONG_STATE;
  closed_ = true;
  if (inFigure_) Fail(D2DERR_WRONG_STATE);
  geometry_->FinishWriting(SUCCEEDED(failure_));
  return failure_;
}

void STDMETHODCALLTYPE GeometrySink::AddLine(D2D1_POINT_2F point) {
  if (!SegmentAllowed(&point, 1)) return;
  geometry_->Writable().LineTo(ToVec2(point));
}

void STDMETHODCALLTYPE GeometrySink::AddBezier(const D2D1_BEZIER_SEGMENT* bezier) {
  AddBeziers(bezier, 1);
}

void STDMETHODCALLTYPE GeometrySink::AddQuadraticBezier(
    const D2D1_QUADRATIC_BEZIER_SEGMENT* bezier) {
  AddQuadraticBeziers(bezier, 1);
}

void STDMETHODCALLTYPE GeometrySink::AddQuadraticBeziers(
    const D2D1_QUADRATIC_BEZIER_SEGMENT* beziers, UINT count) {
  if (!SegmentAllowed(beziers, count)) return;
  for (UINT i = 0; i < count; ++i) {
    geometry_->Writable().QuadraticTo(ToVec2(beziers[i].point1), ToVec2(beziers[i].point2));
  }
}

void STDMETHODCALLTYPE GeometrySink::AddArc(const D2D1_ARC_SEGMENT* arc) {
  if (!SegmentAllowed(arc, 1)) return;
  const bool sweepKnown = arc->sweepDirection == D2D1_SWEEP_DIRECTION_CLOCKWISE ||
                          arc->sweepDirection == D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE;
  const bool sizeKnown = arc->arcSize == D2D1_ARC_SIZE_SMALL || arc->arcSize == D2D1_ARC_SIZE_LARGE;
  if (!sweepKnown || !sizeKnown) {
    Fail(D2DERR_WRONG_STATE);
    return;
  }
  geometry_->Writable().ArcTo(
      ToVec2(arc->point), arc->size.width, arc->size.height, arc->rotationAngle,
      arc->sweepDirection == D2D1_SWEEP_DIRECTION_CLOCKWISE, arc->arcSize == D2D1_ARC_SIZE_LARGE);
}

}  // namespace standin
