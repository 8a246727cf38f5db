#include "window/dpi_lookup.h"

#include "window/gdi_handles.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// MDT_EFFECTIVE_DPI of shellscalingapi.h: the DPI that the user's scaling gives the monitor.
constexpr int kEffectiveDpi = 0;

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

template <typename Function>
Function UserFunction(const char* name) {
  return Lookup<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The window's own DPI, or 0 where the system has none per window.
UINT OwnDpi(HWND window) {
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  return getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
}

// The DPI of the window's monitor, or 0 where the system has none per monitor.
UINT MonitorDpi(HWND window) {
  const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (shcore == nullptr) return 0;
  UINT dpiX = 0;
  UINT dpiY = 0;
  const auto getDpiForMonitor = Lookup<GetDpiForMonitorFunction>(shcore, "GetDpiForMonitor");
  if (getDpiForMonitor == nullptr ||
      FAILED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                              &dpiX, &dpiY))) {
    dpiX = 0;
  }
  FreeLibrary(shcore);
  return dpiX;
}

}  // namespace

UINT ScreenDpi(int axis) {
  const int dpi = GetDeviceCaps(ScreenDc().Get(), axis);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

UINT DpiOfWindow(HWND window) {
  if (const UINT dpi = OwnDpi(window); dpi > 0) return dpi;
  if (window != nullptr) {
    if (const UINT dpi = MonitorDpi(window); dpi > 0) return dpi;
  }
  return ScreenDpi(LOGPIXELSX);
}

BOOL AdjustWindowRectForDpiOf(HWND window, RECT* bounds, DWORD style, BOOL menu, DWORD exStyle) {
  static const auto adjustForDpi =
      UserFunction<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  // Only where the system has per-window DPI does the frame follow the window's monitor.
  const UINT dpi = OwnDpi(window);
  if (adjustForDpi != nullptr && dpi > 0) return adjustForDpi(bounds, style, menu, exStyle, dpi);
  return AdjustWindowRectEx(bounds, style, menu, exStyle);
}

int SystemMetricForDpiOf(HWND window, int index) {
  static const auto metricForDpi =
      UserFunction<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  const UINT dpi = OwnDpi(window);
  if (metricForDpi != nullptr && dpi > 0) return metricForDpi(index, dpi);
  return GetSystemMetrics(index);
}

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT work = {};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, sizeof(work), &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return work;
}
