#pragma once
// Free functions of the window framework: the Windows version, registration of window classes
// under generated process-unique names, and the window procedure used when a caller gives none.

#include <windows.h>

// Windows version as major + minor / 100 (XP 5.01, Vista 6.0, Windows 7 6.01).
double OsVersionNumber();

// Registers a class named "<className>:<n>" ("OrbWindowClass:<n>" for a null or empty name),
// where n counts the successful registrations of the process; returns its atom, 0 on failure.
// A null windowProc registers DefaultHostProc.
ATOM RegisterHostClass(LPCWSTR className, HINSTANCE instance, WNDPROC windowProc);

// Closes the window on SC_CLOSE and on IDCANCEL clicks, posts WM_QUIT(0) on WM_DESTROY, and
// leaves everything else to DefWindowProcW.
LRESULT CALLBACK DefaultHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
