#include "tests/support/recording_geometry.h"

namespace fakes {

HRESULT STDMETHODCALLTYPE RecordingPathGeometry::Open(ID2D1GeometrySink** sink) {
  if (sink == nullptr) return E_POINTER;
  *sink = nullptr;
  if (state_->open.Fails()) return E_OUTOFMEMORY;
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

}  // namespace fakes
