#include "tests/support/recording_geometry.h"

#include <utility>

namespace fakes {

std::vector<SinkCall> PathRecord::CallsOf(SinkOp op) const {
  std::vector<SinkCall> matching;
  for (const SinkCall& call : calls) {
    if (call.op == op) matching.push_back(call);
  }
  return matching;
}

RecordingSink::RecordingSink(std::shared_ptr<PathRecord> record) : record_(std::move(record)) {
  record_->sinkAlive = true;
}

RecordingSink::~RecordingSink() { record_->sinkAlive = false; }

HRESULT STDMETHODCALLTYPE RecordingSink::QueryInterface(REFIID iid, void** object) {
  if (object != nullptr && iid == __uuidof(ID2D1SimplifiedGeometrySink)) {
    *object = static_cast<ID2D1GeometrySink*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

void STDMETHODCALLTYPE RecordingSink::SetFillMode(D2D1_FILL_MODE fillMode) {
  SinkCall call;
  call.op = SinkOp::SetFillMode;
  call.fillMode = fillMode;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::SetSegmentFlags(D2D1_PATH_SEGMENT) {
  SinkCall call;
  call.op = SinkOp::SetSegmentFlags;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::BeginFigure(D2D1_POINT_2F startPoint,
                                                  D2D1_FIGURE_BEGIN begin) {
  SinkCall call;
  call.op = SinkOp::BeginFigure;
  call.point = startPoint;
  call.figureBegin = begin;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddLines(const D2D1_POINT_2F* points, UINT count) {
  SinkCall call;
  call.op = SinkOp::AddLines;
  if (points != nullptr) call.points.assign(points, points + count);
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddBeziers(const D2D1_BEZIER_SEGMENT*, UINT count) {
  SinkCall call;
  call.op = SinkOp::AddBezier;
  for (UINT i = 0; i < count; ++i) Record(call);
}

void STDMETHODCALLTYPE RecordingSink::EndFigure(D2D1_FIGURE_END end) {
  SinkCall call;
  call.op = SinkOp::EndFigure;
  call.figureEnd = end;
  Record(call);
}

HRESULT STDMETHODCALLTYPE RecordingSink::Close() {
  SinkCall call;
  call.op = SinkOp::Close;
  Record(call);
  return S_OK;
}

void STDMETHODCALLTYPE RecordingSink::AddLine(D2D1_POINT_2F point) {
  SinkCall call;
  call.op = SinkOp::AddLine;
  call.point = point;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddBezier(const D2D1_BEZIER_SEGMENT*) {
  SinkCall call;
  call.op = SinkOp::AddBezier;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddQuadraticBezier(const D2D1_QUADRATIC_BEZIER_SEGMENT*) {
  SinkCall call;
  call.op = SinkOp::AddQuadraticBezier;
  Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddQuadraticBeziers(const D2D1_QUADRATIC_BEZIER_SEGMENT*,
                                                          UINT count) {
  SinkCall call;
  call.op = SinkOp::AddQuadraticBezier;
  for (UINT i = 0; i < count; ++i) Record(call);
}

void STDMETHODCALLTYPE RecordingSink::AddArc(const D2D1_ARC_SEGMENT* arc) {
  SinkCall call;
  call.op = SinkOp::AddArc;
  if (arc != nullptr) call.arc = *arc;
  Record(call);
}

RecordingPathGeometry::RecordingPathGeometry(std::shared_ptr<FactoryState> state,
                                             std::shared_ptr<PathRecord> record)
    : state_(std::move(state)), record_(std::move(record)) {
  record_->geometry = this;
  record_->geometryAlive = true;
}

RecordingPathGeometry::~RecordingPathGeometry() { record_->geometryAlive = false; }

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::QueryInterface(REFIID iid, void** object) {
  if (object != nullptr && (iid == __uuidof(ID2D1Geometry) || iid == __uuidof(ID2D1Resource))) {
    *object = static_cast<ID2D1PathGeometry*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Open(ID2D1GeometrySink** sink) {
  if (sink == nullptr) return E_POINTER;
  *sink = nullptr;
  const int count = ++state_->opens;
  if (count == state_->failOpenAt) return E_OUTOFMEMORY;
  if (record_->opened) return D2DERR_WRONG_STATE;
  orb::ComPtr<RecordingSink> made = orb::MakeComObject<RecordingSink>(record_);
  if (!made) return E_OUTOFMEMORY;
  record_->opened = true;
  *sink = made.Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::FillContainsPoint(
    D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* worldTransform, FLOAT flatteningTolerance,
    BOOL* contains) const {
  ContainsQuery query;
  query.point = point;
  query.hasTransform = worldTransform != nullptr;
  if (worldTransform != nullptr) query.transform = *worldTransform;
  query.flatteningTolerance = flatteningTolerance;
  record_->containsQueries.push_back(query);
  if (contains == nullptr) return E_POINTER;
  *contains = state_->containsRule && state_->containsRule(*record_, point) ? TRUE : FALSE;
  return S_OK;
}

void STDMETHODCALLTYPE RecordingPathGeometry::GetFactory(ID2D1Factory** factory) const {
  if (factory != nullptr) *factory = nullptr;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::GetBounds(const D2D1_MATRIX_3X2_F*,
                                                           D2D1_RECT_F*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::GetWidenedBounds(FLOAT, ID2D1StrokeStyle*,
                                                                  const D2D1_MATRIX_3X2_F*, FLOAT,
                                                                  D2D1_RECT_F*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::StrokeContainsPoint(D2D1_POINT_2F, FLOAT,
                                                                     ID2D1StrokeStyle*,
                                                                     const D2D1_MATRIX_3X2_F*,
                                                                     FLOAT, BOOL*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::CompareWithGeometry(
    ID2D1Geometry*, const D2D1_MATRIX_3X2_F*, FLOAT, D2D1_GEOMETRY_RELATION*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Simplify(D2D1_GEOMETRY_SIMPLIFICATION_OPTION,
                                                          const D2D1_MATRIX_3X2_F*, FLOAT,
                                                          ID2D1SimplifiedGeometrySink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Tessellate(const D2D1_MATRIX_3X2_F*, FLOAT,
                                                            ID2D1TessellationSink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::CombineWithGeometry(
    ID2D1Geometry*, D2D1_COMBINE_MODE, const D2D1_MATRIX_3X2_F*, FLOAT,
    ID2D1SimplifiedGeometrySink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Outline(const D2D1_MATRIX_3X2_F*, FLOAT,
                                                         ID2D1SimplifiedGeometrySink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::ComputeArea(const D2D1_MATRIX_3X2_F*, FLOAT,
                                                             FLOAT*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::ComputeLength(const D2D1_MATRIX_3X2_F*, FLOAT,
                                                               FLOAT*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::ComputePointAtLength(FLOAT,
                                                                      const D2D1_MATRIX_3X2_F*,
                                                                      FLOAT, D2D1_POINT_2F*,
                                                                      D2D1_POINT_2F*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Widen(FLOAT, ID2D1StrokeStyle*,
                                                       const D2D1_MATRIX_3X2_F*, FLOAT,
                                                       ID2D1SimplifiedGeometrySink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Stream(ID2D1GeometrySink*) const {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::GetSegmentCount(UINT32* count) const {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  for (const SinkCall& call : record_->calls) {
    if (call.op == SinkOp::AddLines) {
      *count += static_cast<UINT32>(call.points.size());
    } else if (call.op == SinkOp::AddLine || call.op == SinkOp::AddArc ||
               call.op == SinkOp::AddBezier || call.op == SinkOp::AddQuadraticBezier) {
      ++*count;
    }
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::GetFigureCount(UINT32* count) const {
  if (count == nullptr) return E_POINTER;
  *count = static_cast<UINT32>(record_->CallsOf(SinkOp::BeginFigure).size());
  return S_OK;
}

}  // namespace fakes
