#pragma once
// A Direct2D factory whose path geometries record what is written into them (see
// recording_geometry.h). Every other kind of resource fails with E_NOTIMPL (the list of them is
// the Direct2D stand-in's).

#include <d2d1.h>

#include <memory>
#include <vector>

#include "com/com_object.h"
#include "platform/d2d1/not_implemented.h"
#include "tests/support/recording_geometry.h"

namespace fakes {

class RecordingFactory final : public standin::FactoryNotImplemented<orb::ComObject<ID2D1Factory>> {
 public:
  RecordingFactory();

  // One record per CreatePathGeometry that succeeded, in order of creation.
  const std::vector<std::shared_ptr<PathRecord>>& Paths() const { return state_->paths; }
  // The records of the paths whose geometry is still alive, in order of creation.
  std::vector<std::shared_ptr<PathRecord>> LivePaths() const;
  void ForgetPaths() { state_->paths.clear(); }

  // The nth CreatePathGeometry (or Open, over all geometries of this factory) from now fails
  // with E_OUTOFMEMORY; 1 is the next call, 0 turns the failure off.
  void FailPathCreation(int nth) { state_->pathCreation.FailNth(nth); }
  void FailOpen(int nth) { state_->open.FailNth(nth); }
  // How the geometries answer FillContainsPoint.
  void SetContainsRule(ContainsRule rule) { state_->containsRule = std::move(rule); }

  HRESULT STDMETHODCALLTYPE CreatePathGeometry(ID2D1PathGeometry** pathGeometry) override;

  HRESULT STDMETHODCALLTYPE ReloadSystemMetrics() override { return S_OK; }
  void STDMETHODCALLTYPE GetDesktopDpi(FLOAT* dpiX, FLOAT* dpiY) override {
    if (dpiX != nullptr) *dpiX = 96.0f;
    if (dpiY != nullptr) *dpiY = 96.0f;
  }
  HRESULT STDMETHODCALLTYPE CreateHwndRenderTarget(const D2D1_RENDER_TARGET_PROPERTIES*,
                                                   const D2D1_HWND_RENDER_TARGET_PROPERTIES*,
                                                   ID2D1HwndRenderTarget** target) override {
    return standin::NotImplemented(target);
  }

 private:
  std::shared_ptr<FactoryState> state_;
};

}  // namespace fakes
