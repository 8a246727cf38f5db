#include "palette/palette.h"

#include "palette/opaque_brush.h"

void cPalette::Init(ID2DHelper* helper, ID2D1Factory* factory) {
  helper_ = helper;
  factory_ = factory;
}

INT32 cPalette::GetGray() { return gray_; }

void cPalette::SetGray(INT32 value) { gray_ = value; }

void cPalette::GetBrush(INT32 index, ID2D1SolidColorBrush** brush, const INT32* gray) {
  *brush = nullptr;
  // A negative index has no entry: answering nothing is safer than wrapping it.
  if (colourBrushes_.empty() || index < 0) return;
  const size_t entry = static_cast<size_t>(index) % colours_.size();
  const INT32 grayChoice = gray ? *gray : gray_;
  const auto& chosen = grayChoice != 0 ? grayBrushes_[entry] : colourBrushes_[entry];
  chosen.CopyTo(brush);
}

void cPalette::CreateDeviceResources(ID2D1RenderTarget* renderTarget) {
  renderTarget_ = renderTarget;
  BuildBrushes();
}

void cPalette::DiscardDeviceResources() { ReleaseBrushes(); }

INT32 cPalette::HitTest(FLOAT, FLOAT, const D2D1_MATRIX_3X2_F&) { return 0; }

void cPalette::Draw(HWND) {}

void cPalette::BuildBrushes() {
  colourBrushes_.assign(colours_.size(), nullptr);
  grayBrushes_.assign(colours_.size(), nullptr);
  for (size_t i = 0; i < colours_.size(); ++i) colourBrushes_[i] = MakeBrush(colours_[i], false);
  for (size_t i = 0; i < colours_.size(); ++i) grayBrushes_[i] = MakeBrush(colours_[i], true);
}

void cPalette::ReleaseBrushes() {
  for (size_t i = 0; i < colourBrushes_.size(); ++i) {
    colourBrushes_[i].Reset();
    grayBrushes_[i].Reset();
  }
}

orb::ComPtr<ID2D1SolidColorBrush> cPalette::MakeBrush(RgbColour colour, bool gray) {
  const RgbColour used = gray ? ToGray(colour) : colour;
  // A failed creation leaves the position empty; it is tried again with the next render target.
  return MakeOpaqueBrush(renderTarget_.Get(), helper_.Get(), used.red, used.green, used.blue);
}
