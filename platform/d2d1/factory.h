#pragma once
// The stand-in's ID2D1Factory: desktop DPI, path geometries and window render targets.

#include <d2d1.h>

#include "com/com_object.h"
#include "platform/d2d1/not_implemented.h"

namespace standin {

class Factory final : public FactoryNotImplemented<orb::ComObject<ID2D1Factory>> {
 public:
  Factory() = default;

  HRESULT STDMETHODCALLTYPE ReloadSystemMetrics() override;
  void STDMETHODCALLTYPE GetDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) override;
  HRESULT STDMETHODCALLTYPE CreatePathGeometry(ID2D1PathGeometry** geometry) override;
  HRESULT STDMETHODCALLTYPE CreateHwndRenderTarget(
      const D2D1_RENDER_TARGET_PROPERTIES* properties,
      const D2D1_HWND_RENDER_TARGET_PROPERTIES* hwndProperties,
      ID2D1HwndRenderTarget** target) override;
};

// The screen's DPI, as Direct2D reports it for the desktop.
void ReadDesktopDpi(FLOAT* dpiX, FLOAT* dpiY);

}  // namespace standin
