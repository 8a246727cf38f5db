#include "tests/support/recording_factory.h"

namespace fakes {

RecordingFactory::RecordingFactory() : state_(std::make_shared<FactoryState>()) {}

std::vector<std::shared_ptr<PathRecord>> RecordingFactory::LivePaths() const {
  std::vector<std::shared_ptr<PathRecord>> live;
  for (const auto& path : state_->paths) {
    if (path->geometryAlive) live.push_back(path);
  }
  return live;
}

void RecordingFactory::FailPathCreation(int nth) {
  state_->failPathCreationAt = nth > 0 ? state_->pathCreations + nth : 0;
}

void RecordingFactory::FailOpen(int nth) { state_->failOpenAt = nth > 0 ? state_->opens + nth : 0; }

HRESULT STDMETHODCALLTYPE RecordingFactory::CreatePathGeometry(ID2D1PathGeometry** pathGeometry) {
  if (pathGeometry == nullptr) return E_POINTER;
  *pathGeometry = nullptr;
  const int count = ++state_->pathCreations;
  if (count == state_->failPathCreationAt) return E_OUTOFMEMORY;
  auto record = std::make_shared<PathRecord>();
  record->index = static_cast<int>(state_->paths.size());
  orb::ComPtr<RecordingPathGeometry> made =
      orb::MakeComObject<RecordingPathGeometry>(state_, record);
  if (!made) return E_OUTOFMEMORY;
  state_->paths.push_back(record);
  *pathGeometry = made.Detach();
  return S_OK;
}

void STDMETHODCALLTYPE RecordingFactory::GetDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) {
  if (dpiX != nullptr) *dpiX = 96.0f;
  if (dpiY != nullptr) *dpiY = 96.0f;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateRectangleGeometry(const D2D1_RECT_F*,
                                                                    ID2D1RectangleGeometry**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateRoundedRectangleGeometry(
    const D2D1_ROUNDED_RECT*, ID2D1RoundedRectangleGeometry**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateEllipseGeometry(const D2D1_ELLIPSE*,
                                                                  ID2D1EllipseGeometry**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateGeometryGroup(D2D1_FILL_MODE, ID2D1Geometry**,
                                                                UINT, ID2D1GeometryGroup**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateTransformedGeometry(ID2D1Geometry*,
                                                                      const D2D1_MATRIX_3X2_F*,
                                                                      ID2D1TransformedGeometry**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateStrokeStyle(const D2D1_STROKE_STYLE_PROPERTIES*,
                                                              const FLOAT*, UINT,
                                                              ID2D1StrokeStyle**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateDrawingStateBlock(
    const D2D1_DRAWING_STATE_DESCRIPTION*, IDWriteRenderingParams*, ID2D1DrawingStateBlock**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateWicBitmapRenderTarget(
    IWICBitmap*, const D2D1_RENDER_TARGET_PROPERTIES*, ID2D1RenderTarget**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateHwndRenderTarget(
    const D2D1_RENDER_TARGET_PROPERTIES*, const D2D1_HWND_RENDER_TARGET_PROPERTIES*,
    ID2D1HwndRenderTarget**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateDxgiSurfaceRenderTarget(
    IDXGISurface*, const D2D1_RENDER_TARGET_PROPERTIES*, ID2D1RenderTarget**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreateDCRenderTarget(
    const D2D1_RENDER_TARGET_PROPERTIES*, ID2D1DCRenderTarget**) {
  return E_NOTIMPL;
}

}  // namespace fakes
