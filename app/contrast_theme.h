#pragma once
// The colours the window draws with: its own, or, while a contrast theme is on, the theme's
// system colours. The setting and the colours are read at start and again when the system says
// they changed (WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST, WM_SYSCOLORCHANGE), never per frame.

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

// Whether a contrast theme is on (SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON).
bool ReadHighContrast();

// The colours for now: the setting read through highContrast, the theme's colours from the
// system.
ChartColours ReadChartColours(bool (*highContrast)());

// Gives the charts their outlines for colours and keeps colours for the render pass, which
// takes them in its next frame, whole; the window repaints once, its controls too.
void ApplyChartColours(HWND window, const ChartColours& colours);
