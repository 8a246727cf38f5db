#include "d2d/d2d1_helper.h"

HRESULT CreateFactory(D2D1_FACTORY_TYPE factoryType, ID2D1Factory** factory) {
  return D2D1CreateFactory(factoryType, __uuidof(ID2D1Factory), nullptr,
                           reinterpret_cast<void**>(factory));
}

D2D1_POINT_2F CD2D1Helper::MakePoint(FLOAT x, FLOAT y) { return D2D1_POINT_2F{x, y}; }

D2D1_SIZE_U CD2D1Helper::MakeSizeU(UINT32 width, UINT32 height) {
  return D2D1_SIZE_U{width, height};
}

D2D1_PIXEL_FORMAT CD2D1Helper::MakePixelFormat(DXGI_FORMAT format, D2D1_ALPHA_MODE alphaMode) {
  return D2D1_PIXEL_FORMAT{format, alphaMode};
}

D2D1_RENDER_TARGET_PROPERTIES CD2D1Helper::MakeRenderTargetProperties(
    D2D1_RENDER_TARGET_TYPE type, const D2D1_PIXEL_FORMAT* pixelFormat, FLOAT dpiX, FLOAT dpiY,
    D2D1_RENDER_TARGET_USAGE usage, D2D1_FEATURE_LEVEL minLevel) {
  const D2D1_PIXEL_FORMAT format =
      pixelFormat ? *pixelFormat : MakePixelFormat(DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN);
  return D2D1_RENDER_TARGET_PROPERTIES{type, format, dpiX, dpiY, usage, minLevel};
}

D2D1_HWND_RENDER_TARGET_PROPERTIES CD2D1Helper::MakeHwndRenderTargetProperties(
    HWND hwnd, const D2D1_SIZE_U* pixelSize, D2D1_PRESENT_OPTIONS presentOptions) {
  const D2D1_SIZE_U size = pixelSize ? *pixelSize : MakeSizeU(0, 0);
  return D2D1_HWND_RENDER_TARGET_PROPERTIES{hwnd, size, presentOptions};
}

D2D1_COLOR_F CD2D1Helper::MakeColor(FLOAT r, FLOAT g, FLOAT b, FLOAT a) {
  return D2D1_COLOR_F{r, g, b, a};
}

D2D1_MATRIX_3X2_F CD2D1Helper::MakeIdentityMatrix() {
  D2D1_MATRIX_3X2_F identity;
  identity._11 = 1.0f;
  identity._12 = 0.0f;
  identity._21 = 0.0f;
  identity._22 = 1.0f;
  identity._31 = 0.0f;
  identity._32 = 0.0f;
  return identity;
}

HRESULT NewD2D1Helper(ID2DHelper** helper) {
  *helper = nullptr;
  auto made = orb::MakeComObject<CD2D1Helper>();
  if (!made) return E_OUTOFMEMORY;
  *helper = made.Detach();
  return S_OK;
}
