#pragma once
// The main window's procedure, the one dispatcher of its messages: commands, the pointer, the
// keyboard focus and keys, the explode animation, layout and DPI, the accessible tree's requests,
// and paint.

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
