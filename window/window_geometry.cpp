// Measuring, sizing and centring the window of a CWindow.

#include "window/cwindow.h"
#include "window/dpi_lookup.h"
#include "window/round_half_even.h"

namespace {

INT32 ToLogical(LONG pixels, float scale, bool inPixels) {
  if (inPixels) return pixels;
  return orb::RoundHalfEven(static_cast<double>(pixels) / scale);
}

}  // namespace

INT32 CWindow::QueryWindowWidth(bool inPixels) {
  RECT bounds = {};
  GetWindowRect(WindowHandle, &bounds);
  return ToLogical(bounds.right - bounds.left, HorizontalScale, inPixels);
}

INT32 CWindow::QueryClientWidth(bool inPixels) {
  RECT client = {};
  GetClientRect(WindowHandle, &client);
  return ToLogical(client.right - client.left, HorizontalScale, inPixels);
}

INT32 CWindow::QueryClientHeight(bool inPixels) {
  RECT client = {};
  GetClientRect(WindowHandle, &client);
  return ToLogical(client.bottom - client.top, VerticalScale, inPixels);
}

void CWindow::SendSizeMessage() {
  const INT32 width = QueryClientWidth(false);
  const INT32 height = QueryClientHeight(false);
  SendMessageW(WindowHandle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
}

void CWindow::ResizeClientArea(INT32 width, INT32 height) {
  RECT bounds = {0, 0, ScaleX(width), ScaleY(height)};
  HMENU menu = GetMenu(WindowHandle);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(WindowHandle, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(WindowHandle, GWL_EXSTYLE));
  // The frame is the one the system draws at the window's own DPI, which on a monitor of another
  // scaling differs from the frame at the screen's DPI.
  AdjustWindowRectForDpiOf(WindowHandle, &bounds, style, menu != nullptr, exStyle);

  if (menu != nullptr) {
    // AdjustWindowRectEx allows for one row of menu; a menu that wraps at this width needs
    // more. Asking the window for the client rectangle of a very tall window shows by how much.
    RECT probe = bounds;
    probe.bottom = 0x7FFF;
    SendMessageW(WindowHandle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&probe));
    bounds.bottom += probe.top;
  }
  // Scroll bars take their room from the client area, and AdjustWindowRectEx leaves them out.
  if ((style & WS_HSCROLL) != 0) {
    bounds.bottom += SystemMetricForDpiOf(WindowHandle, SM_CYHSCROLL);
  }
  if ((style & WS_VSCROLL) != 0) bounds.right += SystemMetricForDpiOf(WindowHandle, SM_CXVSCROLL);

  SetWindowPos(WindowHandle, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindow::CentreWindow(HWND window, HWND reference) {
  if (window == nullptr) window = WindowHandle;
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  const LONG width = bounds.right - bounds.left;
  const LONG height = bounds.bottom - bounds.top;

  // The work area of the monitor that the window (or its reference) is on, not the primary one.
  const RECT work = WorkAreaOf(reference != nullptr ? reference : window);
  RECT area = work;
  if (reference != nullptr) GetWindowRect(reference, &area);

  // Integer division truncates toward zero; the work area wins over the reference.
  LONG x = (area.right - area.left - width) / 2 + area.left;
  if (x < work.left) {
    x = work.left;
  } else if (x + width > work.right) {
    x = work.right - width;
  }
  LONG y = (area.bottom - area.top - height) / 2 + area.top;
  if (y < work.top) {
    y = work.top;
  } else if (y + height > work.bottom) {
    y = work.bottom - height;
  }

  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
    // A child is placed in its parent's client coordinates, whatever it was centred on.
    POINT position = {x, y};
    ScreenToClient(GetParent(window), &position);
    x = position.x;
    y = position.y;
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
