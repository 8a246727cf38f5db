#pragma once
// The main window's procedure: commands, hover selection, the explode animation, layout, paint.

#include <windows.h>

#include "chart/ipie_chart.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Resizes the render target to the client size in pixels and centres both charts horizontally.
void ResizeCharts(UINT width, UINT height);

// Selects the slice of chart under the pointer in lParam (client pixels). -1 when that selected a
// new slice, 0 otherwise.
INT32 TrackHover(HWND window, IPieChart* chart, LPARAM lParam);

// One tick of the animation that moves the selected slice of chart out of its pie.
void AnimateExplode(HWND window, IPieChart* chart);

// Seconds from earlier to later on a time-of-day clock that restarts at midnight.
float SecondsSince(float earlier, float later);
