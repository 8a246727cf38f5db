#include "app/slice_tooltip.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "chart/degrees.h"
#include "uia/tree_snapshot.h"
#include "window/dpi_lookup.h"

namespace {

constexpr UINT_PTR kToolId = 1;
// How far beyond the rim of a fully pulled-out slice the keyboard's tooltip begins, in
// device-independent units.
constexpr FLOAT kGapBeyondRim = 6.0f;

TTTOOLINFOW Tool(HWND owner, wchar_t* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  tool.hwnd = owner;
  tool.uId = kToolId;
  tool.lpszText = text;
  return tool;
}

FLOAT WindowDpi() {
  AppState& app = App();
  const FLOAT dpi = app.MainWindow ? app.MainWindow->GetDpi() : 0.0f;
  return dpi > 0.0f ? dpi : static_cast<FLOAT>(ScreenDpi(LOGPIXELSY));
}

// The tooltip font of the system (the status font), made for the window's DPI: the system gives
// it at the screen's.
UniqueFont FontForWindowDpi() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  LOGFONTW font = metrics.lfStatusFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(std::lround(WindowDpi())),
                         static_cast<int>(ScreenDpi(LOGPIXELSY)));
  return UniqueFont(CreateFontIndirectW(&font));
}

void GiveFont(AppState::SliceTooltip& tip) {
  UniqueFont font = FontForWindowDpi();
  if (!font) return;  // the old font stays
  SendMessageW(tip.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  tip.font = std::move(font);
}

HWND EnsureTooltip(HWND owner) {
  AppState::SliceTooltip& tip = App().Tooltip;
  if (tip.window != nullptr && IsWindow(tip.window)) return tip.window;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  tip.window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, instance, nullptr);
  if (tip.window == nullptr) return nullptr;
  wchar_t none[] = L"";
  TTTOOLINFOW tool = Tool(owner, none);
  SendMessageW(tip.window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  GiveFont(tip);
  return tip.window;
}

// How far the bottom of the pointer's image lies below its hot spot, in pixels.
LONG PointerImageBelowHotSpot() {
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  ICONINFO icon{};
  if (!GetCursorInfo(&cursor) || cursor.hCursor == nullptr || !GetIconInfo(cursor.hCursor, &icon)) {
    return GetSystemMetrics(SM_CYCURSOR) / 2;
  }
  BITMAP bitmap{};
  // A colour pointer's image is its colour bitmap; a monochrome one's mask holds two images.
  LONG height = 0;
  if (icon.hbmColor != nullptr && GetObjectW(icon.hbmColor, sizeof(bitmap), &bitmap) != 0) {
    height = bitmap.bmHeight;
  } else if (icon.hbmMask != nullptr && GetObjectW(icon.hbmMask, sizeof(bitmap), &bitmap) != 0) {
    height = bitmap.bmHeight / 2;
  }
  if (icon.hbmColor != nullptr) DeleteObject(icon.hbmColor);
  if (icon.hbmMask != nullptr) DeleteObject(icon.hbmMask);
  return std::max(height - static_cast<LONG>(icon.yHotspot), 0L);
}

// Keeps a box of size at the top-left corner on the work area of the monitor nearest to nearPoint.
POINT OnWorkArea(POINT corner, SIZE size, POINT nearPoint) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromPoint(nearPoint, MONITOR_DEFAULTTONEAREST), &monitor))
    return corner;
  const RECT& work = monitor.rcWork;
  corner.x = std::max(std::min(corner.x, work.right - size.cx), work.left);
  corner.y = std::max(std::min(corner.y, work.bottom - size.cy), work.top);
  return corner;
}

// The top-left corner of the tooltip: below the pointer, above it when there is no room below;
// or touching from outside the point beyond the slice's rim at its middle angle.
POINT Place(HWND window, const AppState::SliceTooltip& tip, SIZE size) {
  POINT pointer{};
  if (tip.cause == SelectionCause::Pointer && GetCursorPos(&pointer)) {
    POINT corner{pointer.x, pointer.y + PointerImageBelowHotSpot()};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor) &&
        corner.y + size.cy > monitor.rcWork.bottom) {
      corner.y = pointer.y - size.cy;
    }
    return OnWorkArea(corner, size, pointer);
  }
  IPieChart* chart = ChartAt(tip.chart);
  PieSlice slice{};
  if (chart == nullptr || FAILED(chart->GetSlice(tip.slice, &slice))) return pointer;
  // The rim at the middle angle where the slice stands once fully out, then the gap outward,
  // which is (sin, cos) on screen.
  const FLOAT middle = slice.startDegrees + (slice.endDegrees - slice.startDegrees) / 2.0f;
  D2D1_POINT_2F rim{};
  chart->GetPointBeyondRim(middle, static_cast<FLOAT>(MaxExplodeOffset), &rim);
  const FLOAT outX = std::sin(middle * kDegreesToRadians);
  const FLOAT outY = std::cos(middle * kDegreesToRadians);
  const FLOAT scale = WindowDpi() / 96.0f;
  POINT point{std::lround((rim.x + kGapBeyondRim * outX) * scale),
              std::lround((rim.y + kGapBeyondRim * outY) * scale)};
  ClientToScreen(window, &point);
  // The box lies beyond the point: its corner nearest to the slice on the point where the
  // direction is slanted, centred on it where the direction is nearly straight.
  const auto side = [](FLOAT out) { return std::max(-1.0f, std::min(1.0f, 2.0f * out)); };
  const POINT corner{
      point.x + std::lround((side(outX) - 1.0f) * static_cast<FLOAT>(size.cx) / 2.0f),
      point.y + std::lround((side(outY) - 1.0f) * static_cast<FLOAT>(size.cy) / 2.0f)};
  return OnWorkArea(corner, size, point);
}

SIZE BubbleSize(HWND tooltip, TTTOOLINFOW& tool) {
  const auto size = static_cast<DWORD>(
      SendMessageW(tooltip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
  return SIZE{LOWORD(size), HIWORD(size)};
}

void Track(HWND window) {
  AppState::SliceTooltip& tip = App().Tooltip;
  IPieChart* chart = ChartAt(tip.chart);
  PieSlice slice{};
  if (chart == nullptr || FAILED(chart->GetSlice(tip.slice, &slice))) return;
  ShortText text =
      SliceName(static_cast<size_t>(tip.slice), static_cast<size_t>(chart->GetSliceCount()),
                slice.value, slice.percent);
  TTTOOLINFOW tool = Tool(window, text.data());
  SendMessageW(tip.window, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  const POINT corner = Place(window, tip, BubbleSize(tip.window, tool));
  SendMessageW(tip.window, TTM_TRACKPOSITION, 0, MAKELPARAM(corner.x, corner.y));
  SendMessageW(tip.window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

void ShowSliceTooltip(HWND window, int chart, INT32 slice, SelectionCause cause) {
  if (EnsureTooltip(window) == nullptr) return;
  AppState::SliceTooltip& tip = App().Tooltip;
  tip.chart = chart;
  tip.slice = slice;
  tip.cause = cause;
  Track(window);
}

void HideSliceTooltip() {
  AppState::SliceTooltip& tip = App().Tooltip;
  tip.chart = -1;
  if (tip.window == nullptr || !IsWindow(tip.window)) return;
  TTTOOLINFOW tool = Tool(GetWindow(tip.window, GW_OWNER), nullptr);
  SendMessageW(tip.window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void FollowDpiChange(HWND window) {
  AppState::SliceTooltip& tip = App().Tooltip;
  if (tip.window == nullptr || !IsWindow(tip.window)) return;
  GiveFont(tip);
  if (tip.chart >= 0) Track(window);
}

void ForgetSliceTooltip() { App().Tooltip = AppState::SliceTooltip{}; }
