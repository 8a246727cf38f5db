#pragma once
// CreateFactory and CD2D1Helper: the process's Direct2D factory and the stateless builder of
// Direct2D parameter records shared by the palettes, the charts and the application.

#include <d2d1.h>

#include "com/com_object.h"
#include "d2d/id2d_helper.h"

// D2D1CreateFactory with IID_ID2D1Factory and no options; the HRESULT is passed back unchanged.
HRESULT CreateFactory(D2D1_FACTORY_TYPE factoryType, ID2D1Factory** factory);

class CD2D1Helper final : public orb::ComObject<ID2DHelper> {
 public:
  CD2D1Helper() = default;

  D2D1_POINT_2F STDMETHODCALLTYPE MakePoint(FLOAT x, FLOAT y) override;
  D2D1_SIZE_U STDMETHODCALLTYPE MakeSizeU(UINT32 width, UINT32 height) override;
  D2D1_PIXEL_FORMAT STDMETHODCALLTYPE MakePixelFormat(DXGI_FORMAT format,
                                                      D2D1_ALPHA_MODE alphaMode) override;
  D2D1_RENDER_TARGET_PROPERTIES STDMETHODCALLTYPE MakeRenderTargetProperties(
      D2D1_RENDER_TARGET_TYPE type, const D2D1_PIXEL_FORMAT* pixelFormat, FLOAT dpiX, FLOAT dpiY,
      D2D1_RENDER_TARGET_USAGE usage, D2D1_FEATURE_LEVEL minLevel) override;
  D2D1_HWND_RENDER_TARGET_PROPERTIES STDMETHODCALLTYPE MakeHwndRenderTargetProperties(
      HWND hwnd, const D2D1_SIZE_U* pixelSize, D2D1_PRESENT_OPTIONS presentOptions) override;
  D2D1_COLOR_F STDMETHODCALLTYPE MakeColor(FLOAT r, FLOAT g, FLOAT b, FLOAT a = 1.0f) override;
  D2D1_MATRIX_3X2_F STDMETHODCALLTYPE MakeIdentityMatrix() override;
};

// Makes a CD2D1Helper into *helper; E_OUTOFMEMORY when it cannot be made.
HRESULT NewD2D1Helper(ID2DHelper** helper);
