#pragma once
// The stand-in's ID2D1Factory: desktop DPI, path geometries and window render targets.

#include <d2d1.h>

#include "com/com_object.h"

namespace standin {

class Factory final : public orb::ComObject<ID2D1Factory> {
 public:
  Factory() = default;

  HRESULT STDMETHODCALLTYPE ReloadSystemMetrics() override;
  void STDMETHODCALLTYPE GetDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) override;
  HRESULT STDMETHODCALLTYPE CreateRectangleGeometry(const D2D1_RECT_F*,
                                                    ID2D1RectangleGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreateRoundedRectangleGeometry(
      const D2D1_ROUNDED_RECT*, ID2D1RoundedRectangleGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreateEllipseGeometry(const D2D1_ELLIPSE*,
                                                  ID2D1EllipseGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreateGeometryGroup(D2D1_FILL_MODE, ID2D1Geometry**, UINT,
                                                ID2D1GeometryGroup** group) override;
  HRESULT STDMETHODCALLTYPE CreateTransformedGeometry(ID2D1Geometry*, const D2D1_MATRIX_3X2_F*,
                                                      ID2D1TransformedGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreatePathGeometry(ID2D1PathGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreateStrokeStyle(const D2D1_STROKE_STYLE_PROPERTIES*, const FLOAT*,
                                              UINT, ID2D1StrokeStyle** style) override;
  HRESULT STDMETHODCALLTYPE CreateDrawingStateBlock(const D2D1_DRAWING_STATE_DESCRIPTION*,
                                                    IDWriteRenderingParams*,
                                                    ID2D1DrawingStateBlock** block) override;
  HRESULT STDMETHODCALLTYPE CreateWicBitmapRenderTarget(IWICBitmap*,
                                                        const D2D1_RENDER_TARGET_PROPERTIES*,
                                                        ID2D1RenderTarget** target) override;
  HRESULT STDMETHODCALLTYPE CreateHwndRenderTarget(
      const D2D1_RENDER_TARGET_PROPERTIES* properties,
      const D2D1_HWND_RENDER_TARGET_PROPERTIES* hwndProperties,
      ID2D1HwndRenderTarget** target) override;
  HRESULT STDMETHODCALLTYPE CreateDxgiSurfaceRenderTarget(IDXGISurface*,
                                                          const D2D1_RENDER_TARGET_PROPERTIES*,
                                                          ID2D1RenderTarget** target) override;
  HRESULT STDMETHODCALLTYPE CreateDCRenderTarget(const D2D1_RENDER_TARGET_PROPERTIES*,
                                                 ID2D1DCRenderTarget** target) override;
};

// The screen's DPI, as Direct2D reports it for the desktop.
void ReadDesktopDpi(FLOAT* dpiX, FLOAT* dpiY);

}  // namespace standin
