#include "tests/app/renderable_spies.h"

namespace apptest {

RenderableLog::RenderableLog(IUnknown* inner, std::string name, CallLog* log)
    : name_(std::move(name)), log_(log) {
  inner->QueryInterface(IID_PPV_ARGS(&inner_));
}
void RenderableLog::Create(ID2D1RenderTarget* target) {
  log_->push_back(name_ + " create");
  inner_->CreateDeviceResources(target);
}
void RenderableLog::Discard() {
  log_->push_back(name_ + " discard");
  inner_->DiscardDeviceResources();
}
INT32 RenderableLog::Hit(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) {
  return inner_->HitTest(x, y, transform);
}
void RenderableLog::Paint(HWND window) {
  log_->push_back(name_ + " draw");
  inner_->Draw(window);
}

SpyPalette::SpyPalette(IPalette* inner, std::string name, CallLog* log)
    : RenderableLog(inner, std::move(name), log), palette_(inner) {}
void SpyPalette::Init(ID2DHelper* helper, ID2D1Factory* factory) {
  palette_->Init(helper, factory);
}
INT32 SpyPalette::GetGray() { return palette_->GetGray(); }
void SpyPalette::SetGray(INT32 value) { palette_->SetGray(value); }
void SpyPalette::GetBrush(INT32 index, ID2D1SolidColorBrush** brush, const INT32* gray) {
  palette_->GetBrush(index, brush, gray);
}
void SpyPalette::CreateDeviceResources(ID2D1RenderTarget* target) { Create(target); }
void SpyPalette::DiscardDeviceResources() { Discard(); }
INT32 SpyPalette::HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) {
  return Hit(x, y, transform);
}
void SpyPalette::Draw(HWND window) { Paint(window); }

SpyChart::SpyChart(IPieChart* inner, std::string name, CallLog* log)
    : RenderableLog(inner, std::move(name), log), chart_(inner) {}
void SpyChart::BuildGeometry() { chart_->BuildGeometry(); }
FLOAT SpyChart::GetSelectionTime() { return chart_->GetSelectionTime(); }
INT32 SpyChart::GetExplodeOffset() { return chart_->GetExplodeOffset(); }
void SpyChart::SetExplodeOffset(INT32 offset) { chart_->SetExplodeOffset(offset); }
INT32 SpyChart::GetSelectedSlice() { return chart_->GetSelectedSlice(); }
void SpyChart::SelectSlice(INT32 index) { chart_->SelectSlice(index); }
FLOAT SpyChart::GetLeft() { return chart_->GetLeft(); }
void SpyChart::SetLeft(FLOAT left) { chart_->SetLeft(left); }
FLOAT SpyChart::GetWidth() { return chart_->GetWidth(); }
void SpyChart::SetWidth(FLOAT width) { chart_->SetWidth(width); }
FLOAT SpyChart::GetCenterX() { return chart_->GetCenterX(); }
FLOAT SpyChart::GetCenterY() { return chart_->GetCenterY(); }
FLOAT SpyChart::GetRadiusX() { return chart_->GetRadiusX(); }
FLOAT SpyChart::GetRadiusY() { return chart_->GetRadiusY(); }
void SpyChart::GetPalette(IPalette** palette) { chart_->GetPalette(palette); }
void SpyChart::SetPalette(IPalette* palette) { chart_->SetPalette(palette); }
void SpyChart::SetValues(const FLOAT* first, INT32 count) { chart_->SetValues(first, count); }
void SpyChart::Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette, INT32 red,
                    INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left, FLOAT top, FLOAT width,
                    FLOAT height) {
  chart_->Init(helper, factory, palette, red, green, blue, outlineWidth, left, top, width, height);
}
void SpyChart::CreateDeviceResources(ID2D1RenderTarget* target) { Create(target); }
void SpyChart::DiscardDeviceResources() { Discard(); }
INT32 SpyChart::HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) {
  return Hit(x, y, transform);
}
void SpyChart::Draw(HWND window) { Paint(window); }

}  // namespace apptest
