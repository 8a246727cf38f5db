#pragma once
// The stand-in's ID2D1PathGeometry: written once through its sink, then read-only. Queries on a
// geometry that has not been closed fail with D2DERR_WRONG_STATE, as does a second Open.

#include <d2d1.h>

#include "com/com_object.h"
#include "platform/d2d1/not_implemented.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/standin_interfaces.h"

namespace standin {

class PathGeometry final
    : public PathGeometryNotImplemented<orb::ComObject<ID2D1PathGeometry, IStandInPath>> {
 public:
  explicit PathGeometry(ID2D1Factory* factory) : factory_(factory) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return QueryWithInherited<ID2D1PathGeometry, ID2D1Geometry, ID2D1Resource>(this, iid, object);
  }

  // ID2D1Resource
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    HandOut(factory_.Get(), factory);
  }

  // ID2D1Geometry
  HRESULT STDMETHODCALLTYPE GetBounds(const D2D1_MATRIX_3X2_F* worldTransform,
                                      D2D1_RECT_F* bounds) const override;
  HRESULT STDMETHODCALLTYPE FillContainsPoint(D2D1_POINT_2F point,
                                              const D2D1_MATRIX_3X2_F* worldTransform,
                                              FLOAT flatteningTolerance,
                                              BOOL* contains) const override;

  // ID2D1PathGeometry
  HRESULT STDMETHODCALLTYPE Open(ID2D1GeometrySink** sink) override;
  HRESULT STDMETHODCALLTYPE GetSegmentCount(UINT32* count) const override;
  HRESULT STDMETHODCALLTYPE GetFigureCount(UINT32* count) const override;

  // IStandInPath
  const Path* STDMETHODCALLTYPE ClosedPath() override;

  // For the sink while it is open.
  Path& Writable() { return path_; }
  void FinishWriting(bool succeeded) { state_ = succeeded ? State::Closed : State::Failed; }

 private:
  enum class State { Empty, Open, Closed, Failed };

  orb::ComPtr<ID2D1Factory> factory_;
  Path path_;
  State state_ = State::Empty;
};

}  // namespace standin
