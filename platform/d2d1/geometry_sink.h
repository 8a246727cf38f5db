#pragma once
// The sink that writes a PathGeometry. Calls out of order (a segment outside a figure, a figure
// inside a figure, a fill mode after the first figure, a bad enum value) put it in an error
// state that Close reports as D2DERR_WRONG_STATE; segment flags other than the default, which
// the stand-in does not implement, make Close answer E_NOTIMPL. After Close every call is
// ignored and a second Close fails with D2DERR_WRONG_STATE.

#include <d2d1.h>

#include "com/com_object.h"
#include "platform/d2d1/path_geometry.h"
#include "platform/d2d1/standin_interfaces.h"

namespace standin {

class GeometrySink final : public orb::ComObject<ID2D1GeometrySink> {
 public:
  explicit GeometrySink(PathGeometry* geometry) : geometry_(geometry) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return QueryWithInherited<ID2D1GeometrySink, ID2D1SimplifiedGeometrySink>(this, iid, object);
  }

  // ID2D1SimplifiedGeometrySink
  void STDMETHODCALLTYPE SetFillMode(D2D1_FILL_MODE fillMode) override;
  void STDMETHODCALLTYPE SetSegmentFlags(D2D1_PATH_SEGMENT vertexFlags) override;
  void STDMETHODCALLTYPE BeginFigure(D2D1_POINT_2F startPoint,
                                     D2D1_FIGURE_BEGIN figureBegin) override;
  void STDMETHODCALLTYPE AddLines(const D2D1_POINT_2F* points, UINT count) override;
  void STDMETHODCALLTYPE AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT count) override;
  void STDMETHODCALLTYPE EndFigure(D2D1_FIGURE_END figureEnd) override;
  HRESULT STDMETHODCALLTYPE Close() override;

  // ID2D1GeometrySink
  void STDMETHODCALLTYPE AddLine(D2D1_POINT_2F point) override;
  void STDMETHODCALLTYPE AddBezier(const D2D1_BEZIER_SEGMENT* bezier) override;
  void STDMETHODCALLTYPE AddQuadraticBezier(const D2D1_QUADRATIC_BEZIER_SEGMENT* bezier) override;
  void STDMETHODCALLTYPE AddQuadraticBeziers(const D2D1_QUADRATIC_BEZIER_SEGMENT* beziers,
                                             UINT count) override;
  void STDMETHODCALLTYPE AddArc(const D2D1_ARC_SEGMENT* arc) override;

 private:
  // Is a segment allowed now? Marks the error state when not.
  bool SegmentAllowed(const void* data, UINT count);
  void Fail(HRESULT failure);

  orb::ComPtr<PathGeometry> geometry_;
  bool inFigure_ = false;
  bool begun_ = false;      // a figure has been started: the fill mode is fixed
  HRESULT failure_ = S_OK;  // the first failure, which Close reports
  bool closed_ = false;
};

}  // namespace standin
