#include "app/main_window_proc.h"

#include <algorithm>
#include <cmath>

#include "app/app_objects.h"
#include "app/app_state.h"
#include "app/dpi_change.h"
#include "app/render_pass.h"
#include "palette/irenderable.h"

namespace {

constexpr float SecondsPerDay = 86400.0f;

void RequestRepaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

// Device-independent units per pixel: mouse positions and WM_SIZE come in pixels, the charts
// live in the render target's DIPs. Before the target exists, the screen's DPI stands in for it.
D2D1_POINT_2F DipsPerPixel() {
  AppState& app = App();
  float dpiX = 96.0f;
  float dpiY = 96.0f;
  if (app.WindowRenderTarget) {
    app.WindowRenderTarget->GetDpi(&dpiX, &dpiY);
  } else if (app.MainWindow) {
    dpiX = dpiY = app.MainWindow->GetDpi();
  }
  if (!(dpiX > 0.0f)) dpiX = 96.0f;
  if (!(dpiY > 0.0f)) dpiY = 96.0f;
  return D2D1_POINT_2F{96.0f / dpiX, 96.0f / dpiY};
}

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

void TrackHoverOverBothCharts(HWND window, LPARAM lParam) {
  AppState& app = App();
  // One timer serves both charts, so a new selection in one chart drops the other's at once:
  // at most one slice is out, and no stale selection can stop the running animation.
  if (TrackHover(window, app.UpperChart.Get(), lParam) != 0) {
    DropSelection(window, app.LowerChart.Get());
  } else if (TrackHover(window, app.LowerChart.Get(), lParam) != 0) {
    DropSelection(window, app.UpperChart.Get());
  }
}

}  // namespace

float SecondsSince(float earlier, float later) {
  const float elapsed = later - earlier;
  return elapsed < 0.0f ? elapsed + SecondsPerDay : elapsed;
}

void ResizeCharts(UINT width, UINT height) {
  AppState& app = App();
  if (app.WindowRenderTarget) {
    const D2D1_SIZE_U size{width, height};
    app.WindowRenderTarget->Resize(&size);
  }
  const float widthInDips = static_cast<float>(width) * DipsPerPixel().x;
  for (IPieChart* chart : {app.UpperChart.Get(), app.LowerChart.Get()}) {
    if (!chart) continue;
    chart->SetLeft((widthInDips - chart->GetWidth()) / 2.0f);
    chart->BuildGeometry();
  }
}

INT32 TrackHover(HWND window, IPieChart* chart, LPARAM lParam) {
  if (!chart) return 0;
  const D2D1_POINT_2F scale = DipsPerPixel();
  const float x = static_cast<float>(LOWORD(lParam)) * scale.x;
  const float y = static_cast<float>(HIWORD(lParam)) * scale.y;
  orb::ComPtr<IRenderable> renderable;
  if (FAILED(chart->QueryInterface(IID_PPV_ARGS(&renderable)))) return 0;

  const INT32 hit = renderable->HitTest(x, y, App().D2DHelper->MakeIdentityMatrix());
  if (hit >= 0) {
    if (hit == chart->GetSelectedSlice()) return 0;
    chart->SelectSlice(hit);
    SetTimer(window, ExplodeTimerId, ExplodeTimerPeriodMs, nullptr);
    RequestRepaint(window);
    return -1;
  }

  const float dx = x - chart->GetCenterX();
  const float dy = y - chart->GetCenterY();
  const float rx = chart->GetRadiusX();
  const float ry = chart->GetRadiusY();
  const float distance = dx * dx / (rx * rx) + dy * dy / (ry * ry);
  if (chart->GetSelectedSlice() > -1 && distance > 1.0f) {
    KillTimer(window, ExplodeTimerId);
    DropSelection(window, chart);
  }
  return 0;
}

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
