#pragma once
// The main window at a new DPI: when it moves to a monitor of another scaling, or the user
// changes the scaling while it runs.

#include <windows.h>

// What WM_DPICHANGED asks for: the new DPI and the window rectangle the system suggests for it
// (null: the window keeps its rectangle). The window, its font and controls, the render target and
// the charts' places follow; the whole client area repaints.
void ChangeDpi(HWND window, UINT dpiX, UINT dpiY, const RECT* suggested);
