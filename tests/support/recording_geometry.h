#pragma once
// A path geometry that keeps what is written into it instead of building anything, and the
// sink that writes the record. The record outlives both objects, so that a test can read what
// was written after the code under test has let the geometry go.

#include <d2d1.h>

#include <functional>
#include <memory>
#include <vector>

#include "com/com_object.h"

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
  D2D1_POINT_2F point = {};            // BeginFigure, AddLine
  D2D1_FIGURE_BEGIN figureBegin = {};  // BeginFigure
  std::vector<D2D1_POINT_2F> points;   // AddLines
  D2D1_ARC_SEGMENT arc = {};           // AddArc
  D2D1_FIGURE_END figureEnd = {};      // EndFigure
  D2D1_FILL_MODE fillMode = {};        // SetFillMode
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
  std::vector<SinkCall> CallsOf(SinkOp op) const;
};

// Answers FillContainsPoint for a recorded path; the default rule answers false.
using ContainsRule = std::function<bool(const PathRecord& path, D2D1_POINT_2F point)>;

// State shared by a factory and the geometries it makes.
struct FactoryState {
  std::vector<std::shared_ptr<PathRecord>> paths;
  int pathCreations = 0;
  int opens = 0;
  int failPathCreationAt = 0;  // 1-based count of CreatePathGeometry calls; 0: never
  int failOpenAt = 0;          // 1-based count of Open calls; 0: never
  ContainsRule containsRule;
};

class RecordingSink final : public orb::ComObject<ID2D1GeometrySink> {
 public:
  explicit RecordingSink(std::shared_ptr<PathRecord> record);
  ~RecordingSink() override;

  // Also answers for ID2D1SimplifiedGeometrySink.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  void STDMETHODCALLTYPE SetFillMode(D2D1_FILL_MODE fillMode) override;
  void STDMETHODCALLTYPE SetSegmentFlags(D2D1_PATH_SEGMENT flags) override;
  void STDMETHODCALLTYPE BeginFigure(D2D1_POINT_2F startPoint, D2D1_FIGURE_BEGIN begin) override;
  void STDMETHODCALLTYPE AddLines(const D2D1_POINT_2F* points, UINT count) override;
  void STDMETHODCALLTYPE AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT count) override;
  void STDMETHODCALLTYPE EndFigure(D2D1_FIGURE_END end) override;
  HRESULT STDMETHODCALLTYPE Close() override;
  void STDMETHODCALLTYPE AddLine(D2D1_POINT_2F point) override;
  void STDMETHODCALLTYPE AddBezier(const D2D1_BEZIER_SEGMENT* bezier) override;
  void STDMETHODCALLTYPE AddQuadraticBezier(const D2D1_QUADRATIC_BEZIER_SEGMENT* bezier) override;
  void STDMETHODCALLTYPE AddQuadraticBeziers(const D2D1_QUADRATIC_BEZIER_SEGMENT* beziers,
                                             UINT count) override;
  void STDMETHODCALLTYPE AddArc(const D2D1_ARC_SEGMENT* arc) override;

 private:
  void Record(const SinkCall& call) { record_->calls.push_back(call); }

  std::shared_ptr<PathRecord> record_;
};

class RecordingPathGeometry final : public orb::ComObject<ID2D1PathGeometry> {
 public:
  RecordingPathGeometry(std::shared_ptr<FactoryState> state, std::shared_ptr<PathRecord> record);
  ~RecordingPathGeometry() override;

  // Also answers for ID2D1Geometry and ID2D1Resource.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  // Fails with E_OUTOFMEMORY when the factory's Open count reaches its failure switch, and
  // with D2DERR_WRONG_STATE on a second Open, as Direct2D does.
  HRESULT STDMETHODCALLTYPE Open(ID2D1GeometrySink** sink) override;
  // Recorded, and answered by the factory's rule.
  HRESULT STDMETHODCALLTYPE FillContainsPoint(D2D1_POINT_2F point,
                                              const D2D1_MATRIX_3X2_F* worldTransform,
                                              FLOAT flatteningTolerance,
                                              BOOL* contains) const override;

  // Unused by the program.
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override;
  HRESULT STDMETHODCALLTYPE GetBounds(const D2D1_MATRIX_3X2_F*, D2D1_RECT_F*) const override;
  HRESULT STDMETHODCALLTYPE GetWidenedBounds(FLOAT, ID2D1StrokeStyle*, const D2D1_MATRIX_3X2_F*,
                                             FLOAT, D2D1_RECT_F*) const override;
  HRESULT STDMETHODCALLTYPE StrokeContainsPoint(D2D1_POINT_2F, FLOAT, ID2D1StrokeStyle*,
                                                const D2D1_MATRIX_3X2_F*, FLOAT,
                                                BOOL*) const override;
  HRESULT STDMETHODCALLTYPE CompareWithGeometry(ID2D1Geometry*, const D2D1_MATRIX_3X2_F*, FLOAT,
                                                D2D1_GEOMETRY_RELATION*) const override;
  HRESULT STDMETHODCALLTYPE Simplify(D2D1_GEOMETRY_SIMPLIFICATION_OPTION, const D2D1_MATRIX_3X2_F*,
                                     FLOAT, ID2D1SimplifiedGeometrySink*) const override;
  HRESULT STDMETHODCALLTYPE Tessellate(const D2D1_MATRIX_3X2_F*, FLOAT,
                                       ID2D1TessellationSink*) const override;
  HRESULT STDMETHODCALLTYPE CombineWithGeometry(ID2D1Geometry*, D2D1_COMBINE_MODE,
                                                const D2D1_MATRIX_3X2_F*, FLOAT,
                                                ID2D1SimplifiedGeometrySink*) const override;
  HRESULT STDMETHODCALLTYPE Outline(const D2D1_MATRIX_3X2_F*, FLOAT,
                                    ID2D1SimplifiedGeometrySink*) const override;
  HRESULT STDMETHODCALLTYPE ComputeArea(const D2D1_MATRIX_3X2_F*, FLOAT, FLOAT*) const override;
  HRESULT STDMETHODCALLTYPE ComputeLength(const D2D1_MATRIX_3X2_F*, FLOAT, FLOAT*) const override;
  HRESULT STDMETHODCALLTYPE ComputePointAtLength(FLOAT, const D2D1_MATRIX_3X2_F*, FLOAT,
                                                 D2D1_POINT_2F*, D2D1_POINT_2F*) const override;
  HRESULT STDMETHODCALLTYPE Widen(FLOAT, ID2D1StrokeStyle*, const D2D1_MATRIX_3X2_F*, FLOAT,
                                  ID2D1SimplifiedGeometrySink*) const override;
  HRESULT STDMETHODCALLTYPE Stream(ID2D1GeometrySink*) const override;
  HRESULT STDMETHODCALLTYPE GetSegmentCount(UINT32* count) const override;
  HRESULT STDMETHODCALLTYPE GetFigureCount(UINT32* count) const override;

  const PathRecord& Record() const { return *record_; }

 private:
  std::shared_ptr<FactoryState> state_;
  std::shared_ptr<PathRecord> record_;
};

}  // namespace fakes
