#include "platform/d2d1/path_geometry.h"

#include <cmath>

#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/fill_contains.h"
#include "platform/d2d1/geometry_sink.h"
#include "platform/d2d1/path_bounds.h"

namespace standin {

HRESULT STDMETHODCALLTYPE PathGeometry::GetBounds(const D2D1_MATRIX_3X2_F* worldTransform,
                                                  D2D1_RECT_F* bounds) const {
  if (bounds == nullptr) return E_INVALIDARG;
  if (state_ != State::Closed) return D2DERR_WRONG_STATE;
  const Box box = PathBounds(path_, ToAffine(worldTransform));
  if (box.Empty()) {
    // Direct2D's empty bounds: left greater than right.
    *bounds = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  } else {
    *bounds = {static_cast<FLOAT>(box.left), static_cast<FLOAT>(box.top),
               static_cast<FLOAT>(box.right), static_cast<FLOAT>(box.bottom)};
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PathGeometry::FillContainsPoint(D2D1_POINT_2F point,
                                                          const D2D1_MATRIX_3X2_F* worldTransform,
                                                          FLOAT flatteningTolerance,
                                                          BOOL* contains) const {
  if (contains == nullptr) return E_INVALIDARG;
  *contains = FALSE;
  if (state_ != State::Closed) return D2DERR_WRONG_STATE;
  const double tolerance =
      flatteningTolerance > 0.0f ? flatteningTolerance : D2D1_DEFAULT_FLATTENING_TOLERANCE;
  *contains = PathFillContains(path_, ToAffine(worldTransform), tolerance, {point.x, point.y})
                  ? TRUE
                  : FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PathGeometry::Open(ID2D1GeometrySink** sink) {
  if (sink == nullptr) return E_POINTER;
  *sink = nullptr;
  if (state_ != State::Empty) return D2DERR_WRONG_STATE;
  auto made = orb::MakeComObject<GeometrySink>(this);
  if (!made) return E_OUTOFMEMORY;
  state_ = State::Open;
  *sink = made.Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PathGeometry::GetSegmentCount(UINT32* count) const {
  if (count == nullptr) return E_INVALIDARG;
  if (state_ != State::Closed) return D2DERR_WRONG_STATE;
  *count = static_cast<UINT32>(path_.Segments().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PathGeometry::GetFigureCount(UINT32* count) const {
  if (count == nullptr) return E_INVALIDARG;
  if (state_ != State::Closed) return D2DERR_WRONG_STATE;
  *count = static_cast<UINT32>(path_.Figures().size());
  return S_OK;
}

const Path* STDMETHODCALLTYPE PathGeometry::ClosedPath() {
  return state_ == State::Closed ? &path_ : nullptr;
}

}  // namespace standin
