#pragma once
// Stand-ins for the application's palettes and charts that pass every call on to the real object
// and log the device-resource and drawing calls, so that a test sees their order.

#include <string>
#include <utility>
#include <vector>

#include "chart/ipie_chart.h"
#include "palette/ipalette.h"
#include "palette/irenderable.h"

namespace apptest {

using CallLog = std::vector<std::string>;

// An object of Interface and IRenderable around inner that logs "<name> create",
// "<name> discard" and "<name> draw" and forwards every call of IRenderable.
template <typename Interface>
class RenderableSpy : public orb::ComObject<Interface, IRenderable> {
 public:
  RenderableSpy(Interface* inner, std::string name, CallLog* log)
      : inner_(inner), name_(std::move(name)), log_(log) {
    inner->QueryInterface(IID_PPV_ARGS(&renderable_));
  }

  void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* target) override {
    log_->push_back(name_ + " create");
    renderable_->CreateDeviceResources(target);
  }
  void STDMETHODCALLTYPE DiscardDeviceResources() override {
    log_->push_back(name_ + " discard");
    renderable_->DiscardDeviceResources();
  }
  INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) override {
    return renderable_->HitTest(x, y, transform);
  }
  void STDMETHODCALLTYPE Draw(HWND window) override {
    log_->push_back(name_ + " draw");
    renderable_->Draw(window);
  }

 protected:
  orb::ComPtr<Interface> inner_;

 private:
  orb::ComPtr<IRenderable> renderable_;
  std::string name_;
  CallLog* log_;
};

class SpyPalette final : public RenderableSpy<IPalette> {
 public:
  using RenderableSpy::RenderableSpy;

  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory) override {
    inner_->Init(helper, factory);
  }
  INT32 STDMETHODCALLTYPE GetGray() override { return inner_->GetGray(); }
  void STDMETHODCALLTYPE SetGray(INT32 value) override { inner_->SetGray(value); }
  void STDMETHODCALLTYPE GetBrush(INT32 index, ID2D1SolidColorBrush** brush,
                                  const INT32* gray) override {
    inner_->GetBrush(index, brush, gray);
  }
};

class SpyChart final : public RenderableSpy<IPieChart> {
 public:
  using RenderableSpy::RenderableSpy;

  void STDMETHODCALLTYPE BuildGeometry() override { inner_->BuildGeometry(); }
  FLOAT STDMETHODCALLTYPE GetSelectionTime() override { return inner_->GetSelectionTime(); }
  INT32 STDMETHODCALLTYPE GetExplodeOffset() override { return inner_->GetExplodeOffset(); }
  void STDMETHODCALLTYPE SetExplodeOffset(INT32 offset) override {
    inner_->SetExplodeOffset(offset);
  }
  INT32 STDMETHODCALLTYPE GetSelectedSlice() override { return inner_->GetSelectedSlice(); }
  void STDMETHODCALLTYPE SelectSlice(INT32 index) override { inner_->SelectSlice(index); }
  FLOAT STDMETHODCALLTYPE GetLeft() override { return inner_->GetLeft(); }
  void STDMETHODCALLTYPE SetLeft(FLOAT left) override { inner_->SetLeft(left); }
  FLOAT STDMETHODCALLTYPE GetWidth() override { return inner_->GetWidth(); }
  void STDMETHODCALLTYPE SetWidth(FLOAT width) override { inner_->SetWidth(width); }
  FLOAT STDMETHODCALLTYPE GetCenterX() override { return inner_->GetCenterX(); }
  FLOAT STDMETHODCALLTYPE GetCenterY() override { return inner_->GetCenterY(); }
  FLOAT STDMETHODCALLTYPE GetRadiusX() override { return inner_->GetRadiusX(); }
  FLOAT STDMETHODCALLTYPE GetRadiusY() override { return inner_->GetRadiusY(); }
  void STDMETHODCALLTYPE GetPalette(IPalette** palette) override { inner_->GetPalette(palette); }
  void STDMETHODCALLTYPE SetPalette(IPalette* palette) override { inner_->SetPalette(palette); }
  void STDMETHODCALLTYPE SetValues(const FLOAT* first, INT32 count) override {
    inner_->SetValues(first, count);
  }
  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                              INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left,
                              FLOAT top, FLOAT width, FLOAT height) override {
    inner_->Init(helper, factory, palette, red, green, blue, outlineWidth, left, top, width,
                 height);
  }
  FLOAT STDMETHODCALLTYPE GetTop() override { return inner_->GetTop(); }
  FLOAT STDMETHODCALLTYPE GetHeight() override { return inner_->GetHeight(); }
  INT32 STDMETHODCALLTYPE GetSliceCount() override { return inner_->GetSliceCount(); }
  HRESULT STDMETHODCALLTYPE GetSlice(INT32 index, PieSlice* slice) override {
    return inner_->GetSlice(index, slice);
  }
  UINT32 STDMETHODCALLTYPE GetValuesGeneration() override { return inner_->GetValuesGeneration(); }
  void STDMETHODCALLTYPE SetOutline(INT32 red, INT32 green, INT32 blue, FLOAT width) override {
    inner_->SetOutline(red, green, blue, width);
  }
  void STDMETHODCALLTYPE SetSelectedOutline(INT32 red, INT32 green, INT32 blue,
                                            FLOAT width) override {
    inner_->SetSelectedOutline(red, green, blue, width);
  }
  void STDMETHODCALLTYPE GetPointBeyondRim(FLOAT degrees, FLOAT distance,
                                           D2D1_POINT_2F* point) override {
    inner_->GetPointBeyondRim(degrees, distance, point);
  }
};

}  // namespace apptest
