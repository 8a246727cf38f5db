#pragma once
// The behaviour every palette shares: colour and gray brushes made from a fixed colour list on the
// render target it was last given. The five palette classes differ only in their lists.

#include <d2d1.h>

#include <span>
#include <vector>

#include "com/com_object.h"
#include "palette/colour.h"
#include "palette/ipalette.h"
#include "palette/irenderable.h"

class cPalette : public orb::ComObject<IPalette, IRenderable> {
 public:
  // IPalette
  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory) override;
  INT32 STDMETHODCALLTYPE GetGray() override;
  void STDMETHODCALLTYPE SetGray(INT32 value) override;
  void STDMETHODCALLTYPE GetBrush(INT32 index, ID2D1SolidColorBrush** brush,
                                  const INT32* gray = nullptr) override;

  // IRenderable
  void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* renderTarget) override;
  void STDMETHODCALLTYPE DiscardDeviceResources() override;
  INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) override;
  void STDMETHODCALLTYPE Draw(HWND window) override;

 protected:
  explicit cPalette(std::span<const RgbColour> colours) : colours_(colours) {}

 private:
  void BuildBrushes();
  void ReleaseBrushes();
  orb::ComPtr<ID2D1SolidColorBrush> MakeBrush(RgbColour colour, bool gray);

  std::vector<orb::ComPtr<ID2D1SolidColorBrush>> colourBrushes_;
  std::vector<orb::ComPtr<ID2D1SolidColorBrush>> grayBrushes_;
  orb::ComPtr<ID2D1RenderTarget> renderTarget_;
  orb::ComPtr<ID2DHelper> helper_;
  orb::ComPtr<ID2D1Factory> factory_;
  INT32 gray_ = 0;
  const std::span<const RgbColour> colours_;
};
