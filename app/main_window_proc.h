#pragma once
// The main window's procedure: commands, hover selection, the explode animation, layout, paint.

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Seconds from earlier to later on a time-of-day clock that restarts at midnight.
float SecondsSince(float earlier, float later);
