#pragma once
// Stand-ins for the application's palettes and charts that pass every call on to the real object
// and log the device-resource and drawing calls, so that a test sees their order.

#include <string>
#include <vector>

#include "chart/ipie_chart.h"
#include "palette/ipalette.h"
#include "palette/irenderable.h"

namespace apptest {

using CallLog = std::vector<std::string>;

// Logs "<name> create", "<name> discard" and "<name> draw", then forwards to inner.
class RenderableLog {
 protected:
  RenderableLog(IUnknown* inner, std::string name, CallLog* log);
  void Create(ID2D1RenderTarget* target);
  void Discard();
  INT32 Hit(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform);
  void Paint(HWND window);

 private:
  orb::ComPtr<IRenderable> inner_;
  std::string name_;
  CallLog* log_;
};

class SpyPalette final : public orb::ComObject<IPalette, IRenderable>, RenderableLog {
 public:
  SpyPalette(IPalette* inner, std::string name, CallLog* log);

  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory) override;
  INT32 STDMETHODCALLTYPE GetGray() override;
  void STDMETHODCALLTYPE SetGray(INT32 value) override;
  void STDMETHODCALLTYPE GetBrush(INT32 index, ID2D1SolidColorBrush** brush,
                                  const INT32* gray) override;

  void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* target) override;
  void STDMETHODCALLTYPE DiscardDeviceResources() override;
  INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) override;
  void STDMETHODCALLTYPE Draw(HWND window) override;

 private:
  orb::ComPtr<IPalette> palette_;
};

class SpyChart final : public orb::ComObject<IPieChart, IRenderable>, RenderableLog {
 public:
  SpyChart(IPieChart* inner, std::string name, CallLog* log);

  void STDMETHODCALLTYPE BuildGeometry() override;
  FLOAT STDMETHODCALLTYPE GetSelectionTime() override;
  INT32 STDMETHODCALLTYPE GetExplodeOffset() override;
  void STDMETHODCALLTYPE SetExplodeOffset(INT32 offset) override;
  INT32 STDMETHODCALLTYPE GetSelectedSlice() override;
  void STDMETHODCALLTYPE SelectSlice(INT32 index) override;
  FLOAT STDMETHODCALLTYPE GetLeft() override;
  void STDMETHODCALLTYPE SetLeft(FLOAT left) override;
  FLOAT STDMETHODCALLTYPE GetWidth() override;
  void STDMETHODCALLTYPE SetWidth(FLOAT width) override;
  FLOAT STDMETHODCALLTYPE GetCenterX() override;
  FLOAT STDMETHODCALLTYPE GetCenterY() override;
  FLOAT STDMETHODCALLTYPE GetRadiusX() override;
  FLOAT STDMETHODCALLTYPE GetRadiusY() override;
  void STDMETHODCALLTYPE GetPalette(IPalette** palette) override;
  void STDMETHODCALLTYPE SetPalette(IPalette* palette) override;
  void STDMETHODCALLTYPE SetValues(const FLOAT* first, INT32 count) override;
  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                              INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left,
                              FLOAT top, FLOAT width, FLOAT height) override;

  void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* target) override;
  void STDMETHODCALLTYPE DiscardDeviceResources() override;
  INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) override;
  void STDMETHODCALLTYPE Draw(HWND window) override;

 private:
  orb::ComPtr<IPieChart> chart_;
};

}  // namespace apptest
