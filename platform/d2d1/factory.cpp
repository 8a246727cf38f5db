#include "platform/d2d1/factory.h"

#include "platform/d2d1/hwnd_render_target.h"
#include "platform/d2d1/path_geometry.h"

namespace standin {
void ReadDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) {
  int x = 96, y = 96;
  if (HDC screen = GetDC(nullptr)) {
    x = GetDeviceCaps(screen, LOGPIXELSX);
    y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (dpiX != nullptr) *dpiX = static_cast<FLOAT>(x > 0 ? x : 96);
  if (dpiY != nullptr) *dpiY = static_cast<FLOAT>(y > 0 ? y : 96);
}

HRESULT STDMETHODCALLTYPE Factory::ReloadSystemMetrics() { return S_OK; }

void STDMETHODCALLTYPE Factory::GetDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) {
  ReadDesktopDpi(dpiX, dpiY);
}

HRESULT STDMETHODCALLTYPE Factory::CreatePathGeometry(ID2D1PathGeometry** geometry) {
  if (geometry == nullptr) return E_POINTER;
  *geometry = nullptr;
  auto made = orb::MakeComObject<PathGeometry>(this);
  if (!made) return E_OUTOFMEMORY;
  *geometry = made.Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Factory::CreateHwndRenderTarget(
    const D2D1_RENDER_TARGET_PROPERTIES* properties,
    const D2D1_HWND_RENDER_TARGET_PROPERTIES* hwndProperties, ID2D1HwndRenderTarget** target) {
  if (target == nullptr) return E_POINTER;
  *target = nullptr;
  if (properties == nullptr || hwndProperties == nullptr) return E_INVALIDARG;
  if (hwndProperties->hwnd == nullptr || !IsWindow(hwndProperties->hwnd)) return E_INVALIDARG;
  if (!FrameSizeFits(hwndProperties->pixelSize)) return D2DERR_MAX_TEXTURE_SIZE_EXCEEDED;

  const D2D1_PIXEL_FORMAT format = properties->pixelFormat;
  if (format.format != DXGI_FORMAT_UNKNOWN && format.format != DXGI_FORMAT_B8G8R8A8_UNORM) {
    return D2DERR_UNSUPPORTED_PIXEL_FORMAT;
  }
  if (format.alphaMode == D2D1_ALPHA_MODE_STRAIGHT) return D2DERR_UNSUPPORTED_PIXEL_FORMAT;

  FLOAT dpiX = properties->dpiX, dpiY = properties->dpiY;
  if (dpiX == 0.0f && dpiY == 0.0f) {
    ReadDesktopDpi(&dpiX, &dpiY);
  } else if (!(dpiX > 0.0f) || !(dpiY > 0.0f)) {
    return E_INVALIDARG;
  }
  const D2D1_ALPHA_MODE alpha =
      format.alphaMode == D2D1_ALPHA_MODE_UNKNOWN ? D2D1_ALPHA_MODE_IGNORE : format.alphaMode;
  auto made = orb::MakeComObject<HwndRenderTarget>(this, hwndProperties->hwnd,
                                                   hwndProperties->pixelSize, dpiX, dpiY, alpha);
  if (!made) return E_OUTOFMEMORY;
  *target = made.Detach();
  return S_OK;
}

}  // namespace standin
