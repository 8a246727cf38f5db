#pragma once
// The colours that the window draws with (app/contrast_theme.h chooses them).

#include <windows.h>

// The window's colours as 8-bit red, green and blue.
struct ChartColours {
  bool contrast = false;
  COLORREF background = RGB(0, 82, 121);
  // The focus rectangle's line next to the chart, and its outer line.
  COLORREF focusInner = RGB(255, 255, 255);
  COLORREF focusOuter = RGB(0, 0, 0);
  // While a contrast theme is on: every slice's outline, and the selected slice's.
  COLORREF outline = RGB(0, 0, 0);
  COLORREF highlight = RGB(0, 0, 0);
  bool operator==(const ChartColours&) const = default;
};
