#pragma once
// A path geometry that keeps what is written into it instead of building anything, and the
// sink that writes the record. The record outlives both objects, so that a test can read what
// was written after the code under test has let the geometry go.

#include <d2d1.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/d2d1/not_implemented.h"
#include "tests/support/fake_object.h"

namespace fakes {

enum class SinkOp {
  SetFillMode,
  SetSegmentFlags,
  BeginFigure,
  AddLine,
  AddLines,
  AddBezier,
  AddQuadraticBezier,
  AddArc,
  EndFigure,
  Close,
};

struct SinkCall {
  SinkOp op = SinkOp::Close;
  D2D1_POINT_2F point = {};                // BeginFigure, AddLine
  D2D1_FIGURE_BEGIN figureBegin = {};      // BeginFigure
  std::vector<D2D1_POINT_2F> points = {};  // AddLines
  D2D1_ARC_SEGMENT arc = {};               // AddArc
  D2D1_FIGURE_END figureEnd = {};          // EndFigure
  D2D1_FILL_MODE fillMode = {};            // SetFillMode
};

struct ContainsQuery {
  D2D1_POINT_2F point = {};
  bool hasTransform = false;
  D2D1_MATRIX_3X2_F transform = {};
  FLOAT flatteningTolerance = 0.0f;
};

// Everything one path geometry went through.
struct PathRecord {
  int index = 0;  // 0 for the first geometry the factory made, and so on
  // The geometry as the code under test sees it; for comparison only, valid while alive.
  ID2D1Geometry* geometry = nullptr;
  bool opened = false;
  bool geometryAlive = true;
  bool sinkAlive = false;
  std::vector<SinkCall> calls;
  std::vector<ContainsQuery> containsQueries;

  // The calls of one kind, in order.
  std::vector<SinkCall> CallsOf(SinkOp op) const { return Matching(calls, op); }
};

// Answers FillContainsPoint for a recorded path; the default rule answers false.
using ContainsRule = std::function<bool(const PathRecord& path, D2D1_POINT_2F point)>;

// State shared by a factory and the geometries it makes.
struct FactoryState {
  std::vector<std::shared_ptr<PathRecord>> paths;
  FailureSwitch pathCreation;  // over CreatePathGeometry calls
  FailureSwitch open;          // over the Open calls of every geometry
  ContainsRule containsRule;
};

class RecordingSink final : public FakeObject<ID2D1GeometrySink, ID2D1SimplifiedGeometrySink> {
 public:
  explicit RecordingSink(std::shared_ptr<PathRecord> record) : record_(std::move(record)) {
    record_->sinkAlive = true;
  }
  ~RecordingSink() override { record_->sinkAlive = false; }

  void STDMETHODCALLTYPE SetFillMode(D2D1_FILL_MODE fillMode) override {
    Record(SinkOp::SetFillMode).fillMode = fillMode;
  }
  void STDMETHODCALLTYPE SetSegmentFlags(D2D1_PATH_SEGMENT) override {
    Record(SinkOp::SetSegmentFlags);
  }
  void STDMETHODCALLTYPE BeginFigure(D2D1_POINT_2F startPoint, D2D1_FIGURE_BEGIN begin) override {
    SinkCall& call = Record(SinkOp::BeginFigure);
    call.point = startPoint;
    call.figureBegin = begin;
  }
  void STDMETHODCALLTYPE AddLines(const D2D1_POINT_2F* points, UINT count) override {
    SinkCall& call = Record(SinkOp::AddLines);
    if (points != nullptr) call.points.assign(points, points + count);
  }
  void STDMETHODCALLTYPE AddBeziers(const D2D1_BEZIER_SEGMENT*, UINT count) override {
    for (UINT i = 0; i < count; ++i) Record(SinkOp::AddBezier);
  }
  void STDMETHODCALLTYPE EndFigure(D2D1_FIGURE_END end) override {
    Record(SinkOp::EndFigure).figureEnd = end;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    Record(SinkOp::Close);
    return S_OK;
  }
  void STDMETHODCALLTYPE AddLine(D2D1_POINT_2F point) override {
    Record(SinkOp::AddLine).point = point;
  }
  void STDMETHODCALLTYPE AddBezier(const D2D1_BEZIER_SEGMENT*) override {
    Record(SinkOp::AddBezier);
  }
  void STDMETHODCALLTYPE AddQuadraticBezier(const D2D1_QUADRATIC_BEZIER_SEGMENT*) override {
    Record(SinkOp::AddQuadraticBezier);
  }
  void STDMETHODCALLTYPE AddQuadraticBeziers(const D2D1_QUADRATIC_BEZIER_SEGMENT*,
                                             UINT count) override {
    for (UINT i = 0; i < count; ++i) Record(SinkOp::AddQuadraticBezier);
  }
  void STDMETHODCALLTYPE AddArc(const D2D1_ARC_SEGMENT* arc) override {
    SinkCall& call = Record(SinkOp::AddArc);
    if (arc != nullptr) call.arc = *arc;
  }

 private:
  // A new call of kind op at the end of the record, for the caller to fill in.
  SinkCall& Record(SinkOp op) { return record_->calls.emplace_back(SinkCall{op}); }

  std::shared_ptr<PathRecord> record_;
};

// The geometry queries the program has no use for answer E_NOTIMPL, from the Direct2D stand-in's
// list of what it does not implement.
class RecordingPathGeometry final
    : public standin::PathGeometryNotImplemented<
          FakeObject<ID2D1PathGeometry, ID2D1Geometry, ID2D1Resource>> {
 public:
  RecordingPathGeometry(std::shared_ptr<FactoryState> state, std::shared_ptr<PathRecord> record)
      : state_(std::move(state)), record_(std::move(record)) {
    record_->geometry = this;
    record_->geometryAlive = true;
  }
  ~RecordingPathGeometry() override { record_->geometryAlive = false; }

  // Fails with E_OUTOFMEMORY when the factory's Open count reaches its failure switch, and
  // with D2DERR_WRONG_STATE on a second Open, as Direct2D does.
  HRESULT STDMETHODCALLTYPE Open(ID2D1GeometrySink** sink) override;
  // Recorded, and answered by the factory's rule.
  HRESULT STDMETHODCALLTYPE FillContainsPoint(D2D1_POINT_2F point,
                                              const D2D1_MATRIX_3X2_F* worldTransform,
                                              FLOAT flatteningTolerance,
                                              BOOL* contains) const override;

  // Unused by the program.
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    if (factory != nullptr) *factory = nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetBounds(const D2D1_MATRIX_3X2_F*, D2D1_RECT_F*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetSegmentCount(UINT32*) const override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFigureCount(UINT32*) const override { return E_NOTIMPL; }

 private:
  std::shared_ptr<FactoryState> state_;
  std::shared_ptr<PathRecord> record_;
};

}  // namespace fakes
