#pragma once
// The colours the window draws with: its own, or, while a contrast theme is on, the theme's
// system colours. The setting and the colours are read at start and again when the system says
// they changed (WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST, WM_SYSCOLORCHANGE), never per frame.

#include <windows.h>

#include "app/chart_colours.h"

// The colours for now: the setting read through highContrast, the theme's colours from the
// system.
ChartColours ReadChartColours(bool (*highContrast)());

// Gives the charts their outlines for colours and keeps colours for the render pass, which
// takes them in its next frame, whole; the window repaints once, its controls too.
void ApplyChartColours(HWND window, const ChartColours& colours);
