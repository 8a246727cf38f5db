#pragma once
// What the system says about the screen's and a window's DPI. The functions that tell a window's
// are looked up at run time, so that the program still starts on Windows versions that lack them.

#include <windows.h>

// The screen's DPI along one axis (LOGPIXELSX or LOGPIXELSY), as the screen's device context
// reports it; 96 where it reports nothing usable, so that no scale factor can become 0.
UINT ScreenDpi(int axis);

// The DPI the system gives window: its own where the system has per-window DPI (Windows 10
// 1607 on), else its monitor's (Windows 8.1 on), else the screen's.
UINT DpiOfWindow(HWND window);

// AdjustWindowRectEx for the frame that the system draws around window at the window's DPI.
BOOL AdjustWindowRectForDpiOf(HWND window, RECT* bounds, DWORD style, BOOL menu, DWORD exStyle);

// GetSystemMetrics(index) at window's DPI.
int SystemMetricForDpiOf(HWND window, int index);

// The work area of the monitor that holds the largest part of window (the nearest one when
// none does); the primary work area, or the whole screen, when the system cannot tell.
RECT WorkAreaOf(HWND window);
