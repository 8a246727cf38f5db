#pragma once
// The tooltip of the slice that is out: the common controls' tracking tooltip, owned by the main
// window, with the slice's name as a screen reader reads it ("Slice 3 of 15: 113 (8.0%)"). For
// the pointer it stands where Windows puts a pointer's tooltip, below the pointer; for the
// keyboard and UI Automation just outside the slice's rim at its middle angle. It never takes
// the pointer from the window (TTF_TRANSPARENT) and keeps the system's tooltip colours.

#include <windows.h>

#include "app/app_state.h"

// Shows the tooltip for slice of chart (0 upper, 1 lower), placed as cause wants, on the work
// area of the monitor where it stands.
void ShowSliceTooltip(HWND window, int chart, INT32 slice, SelectionCause cause);

// Hides the tooltip; it is shown again only by the next slice that moves out.
void HideSliceTooltip();

// After a change of the window's DPI: the tooltip's font for the new DPI, and its place again.
void FollowDpiChange(HWND window);

// The main window is going, and its tooltip with it: nothing of it is kept.
void ForgetSliceTooltip();
