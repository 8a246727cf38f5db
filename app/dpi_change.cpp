#include "app/dpi_change.h"

#include "app/app_state.h"
#include "app/chart_layout.h"

void ChangeDpi(HWND window, UINT dpiX, UINT dpiY, const RECT* suggested) {
  AppState& app = App();
  if (!app.MainWindow || dpiX == 0 || dpiY == 0) return;
  IWindow& main = *app.MainWindow.Get();
  main.SetDpi(static_cast<FLOAT>(dpiX));
  main.RebuildFont();
  for (const ControlPlace& place : {RegenPlace, GrayPlace}) {
    if (const HWND control = GetDlgItem(window, place.id)) {
      main.MoveChildControl(control, place.x, place.y, place.width, place.height, false);
    }
  }
  // The charts keep their size in device-independent units and so grow or shrink in pixels. Set
  // before the window is sized, so that the WM_SIZE it sends measures in the new units.
  if (app.WindowRenderTarget) {
    app.WindowRenderTarget->SetDpi(static_cast<FLOAT>(dpiX), static_cast<FLOAT>(dpiY));
  }
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Centred again also when the size in pixels stayed, and so sent no WM_SIZE.
  RECT client{};
  GetClientRect(window, &client);
  ResizeCharts(static_cast<UINT>(client.right), static_cast<UINT>(client.bottom));
  InvalidateRect(window, nullptr, FALSE);
}
