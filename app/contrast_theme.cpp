#include "app/contrast_theme.h"

#include "app/app_state.h"
#include "app/render_pass.h"

namespace {

// While a contrast theme is on every slice is outlined, so that each boundary shows whatever
// the fills are, and the selected slice more thickly in the highlight colour.
constexpr FLOAT kContrastOutlineWidth = 2.0f;
constexpr FLOAT kContrastHighlightWidth = 3.0f;

void Outline(IPieChart* chart, COLORREF colour, FLOAT width) {
  chart->SetOutline(GetRValue(colour), GetGValue(colour), GetBValue(colour), width);
}

}  // namespace

ChartColours ReadChartColours(bool (*highContrast)()) {
  ChartColours colours;
  if (highContrast == nullptr || !highContrast()) return colours;
  colours.contrast = true;
  colours.background = GetSysColor(COLOR_WINDOW);
  colours.focusInner = GetSysColor(COLOR_WINDOW);
  colours.focusOuter = GetSysColor(COLOR_WINDOWTEXT);
  colours.outline = GetSysColor(COLOR_WINDOWTEXT);
  colours.highlight = GetSysColor(COLOR_HIGHLIGHT);
  return colours;
}

void ApplyChartColours(HWND window, const ChartColours& colours) {
  AppState& app = App();
  app.Colours = colours;
  const std::pair<IPieChart*, ChartOutline> charts[] = {{app.UpperChart.Get(), UpperOutline},
                                                        {app.LowerChart.Get(), LowerOutline}};
  for (const auto& [chart, own] : charts) {
    if (chart == nullptr) continue;
    if (colours.contrast) {
      Outline(chart, colours.outline, kContrastOutlineWidth);
      chart->SetSelectedOutline(GetRValue(colours.highlight), GetGValue(colours.highlight),
                                GetBValue(colours.highlight), kContrastHighlightWidth);
    } else {
      chart->SetOutline(own.red, own.green, own.blue, own.width);
      chart->SetSelectedOutline(0, 0, 0, 0.0f);
    }
  }
  MakeFocusBrushes();
  if (window != nullptr) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}
