#pragma once
// The window rectangle that the system suggests with WM_DPICHANGED, as the tests send it: the
// client area at its logical size (512 x 540) in the new DPI's pixels plus the window's frame, at
// the work area's corner, cut to the work area's height. And where a control stands at a DPI.

#include <windows.h>

#include <algorithm>

#include "app/app_state.h"
#include "window/round_half_even.h"

namespace apptest {

// The control's rectangle in its window's client pixels at dpi.
inline RECT ControlRectAt(const ControlPlace& place, UINT dpi) {
  const auto pixels = [&](INT32 logical) { return orb::RoundHalfEven(logical * (dpi / 96.0)); };
  return RECT{pixels(place.x), pixels(place.y), pixels(place.x) + pixels(place.width),
              pixels(place.y) + pixels(place.height)};
}

inline RECT SuggestedWindowRect(HWND window, UINT dpi) {
  RECT frame{};
  RECT client{};
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  const LONG extraWidth = frame.right - frame.left - client.right;
  const LONG extraHeight = frame.bottom - frame.top - client.bottom;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const LONG width = orb::RoundHalfEven(512.0 * dpi / 96.0) + extraWidth;
  const LONG height =
      std::min<LONG>(orb::RoundHalfEven(540.0 * dpi / 96.0) + extraHeight, work.bottom - work.top);
  return RECT{work.left, work.top, work.left + width, work.top + height};
}

}  // namespace apptest
