#pragma once
// The pointer over the charts: the slice under it moves out; leaving the chart's ellipse, or the
// window, puts the slice that the pointer moved out back. A click on a chart gives it the
// keyboard focus.

#include <windows.h>

// What lies under a point of the client area (device-independent units), as the pointer finds
// it: a slice (the charts' own hit test, the upper chart first), else a chart whose ellipse
// holds the point (slice -1), else nothing (chart -1).
struct ChartPoint {
  int chart = -1;
  INT32 slice = -1;
};
ChartPoint WhatPointerFinds(FLOAT x, FLOAT y);

// WM_MOUSEMOVE, with the pointer at lParam (client pixels).
void TrackPointer(HWND window, LPARAM lParam);

// WM_MOUSELEAVE: the pointer left the window.
void PointerLeft(HWND window);

// WM_LBUTTONDOWN at lParam (client pixels).
void ClickCharts(HWND window, LPARAM lParam);
