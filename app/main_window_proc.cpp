#include "app/main_window_proc.h"

#include <algorithm>
#include <cmath>

#include "app/animation_setting.h"
#include "app/app_objects.h"
#include "app/app_state.h"
#include "app/chart_layout.h"
#include "app/dpi_change.h"
#include "app/render_pass.h"
#include "palette/irenderable.h"

namespace {

constexpr float SecondsPerDay = 86400.0f;
constexpr float ExplodeDurationSeconds = 0.1f;

void RequestRepaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

void DropSelection(HWND window, IPieChart* chart) {
  if (!chart || chart->GetSelectedSlice() < 0) return;
  chart->SelectSlice(-1);
  chart->BuildGeometry();
  RequestRepaint(window);
}

void ToggleGray(HWND window) {
  AppState& app = App();
  if (!app.UpperChart) return;
  const bool checked = IsDlgButtonChecked(window, IdGray) == BST_CHECKED;
  orb::ComPtr<IPalette> palette;
  app.UpperChart->GetPalette(&palette);
  if (palette) palette->SetGray(checked ? -1 : 0);
  RequestRepaint(window);
}

// Selects the slice of chart under the pointer in lParam (client pixels). -1 when that selected a
// new slice, 0 otherwise.
INT32 TrackHover(HWND window, IPieChart* chart, LPARAM lParam) {
  if (!chart) return 0;
  const D2D1_POINT_2F scale = DipsPerPixel();
  const float x = static_cast<float>(LOWORD(lParam)) * scale.x;
  const float y = static_cast<float>(HIWORD(lParam)) * scale.y;
  orb::ComPtr<IRenderable> renderable;
  if (FAILED(chart->QueryInterface(IID_PPV_ARGS(&renderable)))) return 0;

  const INT32 hit = renderable->HitTest(x, y, App().D2DHelper->MakeIdentityMatrix());
  if (hit >= 0) return SelectSliceAsPointer(window, chart, hit) ? -1 : 0;

  const float dx = x - chart->GetCenterX();
  const float dy = y - chart->GetCenterY();
  const float rx = chart->GetRadiusX();
  const float ry = chart->GetRadiusY();
  const float distance = dx * dx / (rx * rx) + dy * dy / (ry * ry);
  if (chart->GetSelectedSlice() > -1 && distance > 1.0f) PutSliceBack(window, chart);
  return 0;
}

void TrackHoverOverBothCharts(HWND window, LPARAM lParam) {
  AppState& app = App();
  if (TrackHover(window, app.UpperChart.Get(), lParam) == 0) {
    TrackHover(window, app.LowerChart.Get(), lParam);
  }
}

// One tick of the animation that moves the selected slice of chart out of its pie.
void AnimateExplode(HWND window, IPieChart* chart) {
  if (chart->GetSelectedSlice() < 0) return;
  const float elapsed = SecondsSince(chart->GetSelectionTime(), App().Platform.clock());
  const double progress = std::min(elapsed, ExplodeDurationSeconds) / ExplodeDurationSeconds;
  // nearbyint rounds halves to even.
  const auto offset = static_cast<INT32>(std::nearbyint(progress * MaxExplodeOffset));
  chart->SetExplodeOffset(offset);
  chart->BuildGeometry();
  RequestRepaint(window);
  if (chart->GetExplodeOffset() == MaxExplodeOffset) KillTimer(window, ExplodeTimerId);
}

}  // namespace

float SecondsSince(float earlier, float later) {
  const float elapsed = later - earlier;
  return elapsed < 0.0f ? elapsed + SecondsPerDay : elapsed;
}

bool SelectSliceAsPointer(HWND window, IPieChart* chart, INT32 index) {
  if (index == chart->GetSelectedSlice()) return false;
  chart->SelectSlice(index);
  StartExplode(window, chart);
  RequestRepaint(window);
  // One timer serves both charts, so a new selection in one chart drops the other's at once:
  // at most one slice is out, and no stale selection can stop the running animation.
  AppState& app = App();
  DropSelection(window,
                chart == app.UpperChart.Get() ? app.LowerChart.Get() : app.UpperChart.Get());
  return true;
}

void PutSliceBack(HWND window, IPieChart* chart) {
  KillTimer(window, ExplodeTimerId);
  DropSelection(window, chart);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState& app = App();
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IdRegen:
          RegenerateCharts();
          return 0;
        case IdGray:
          ToggleGray(window);
          return 0;
        default:
          return DefWindowProcW(window, message, wParam, lParam);
      }
    case WM_ERASEBKGND:
      return 0;
    case WM_TIMER:
      if (app.UpperChart && app.UpperChart->GetSelectedSlice() > -1) {
        AnimateExplode(window, app.UpperChart.Get());
      } else if (app.LowerChart && app.LowerChart->GetSelectedSlice() > -1) {
        AnimateExplode(window, app.LowerChart.Get());
      } else {
        // Nothing is selected, so nothing animates: a tick here must not keep the timer alive.
        KillTimer(window, ExplodeTimerId);
      }
      return 0;
    case WM_MOUSEMOVE:
      TrackHoverOverBothCharts(window, lParam);
      return 0;
    case WM_SIZE:
      ResizeCharts(LOWORD(lParam), HIWORD(lParam));
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
      ChangeDpi(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      RenderCharts(window);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
