#pragma once
// The charts as tab stops of the main window, drawn on it rather than made windows of their own.
// The Tab order is Regen, Gray, the upper chart, the lower chart and Regen again (Shift+Tab goes
// backwards). A chart has the focus while the main window holds the keyboard focus and names it;
// the arrow keys, Home and End then move its slices out one at a time, and Esc puts the slice
// back.

#include <windows.h>

// Gives chart (0 upper, 1 lower) the keyboard focus; no slice moves. The slice of a chart that
// loses the focus goes back.
void FocusChart(HWND window, int chart);

// The main window's answer to WM_GETDLGCODE for message: it takes Tab and the arrow keys, and
// Esc while a chart has the focus.
LRESULT MainWindowDialogCode(const MSG* message);

// A key pressed while the main window has the focus; false when it is none of the charts' keys.
bool PressChartKey(HWND window, WPARAM key);

// The main window lost the keyboard focus to newFocus (a control of its own, another window, or
// none): the focused chart's slice goes back, and the chart stays named only for the window's
// return.
void NoteFocusLost(HWND window, HWND newFocus);

// WM_ACTIVATE: what had the focus is kept when the window is deactivated and given the focus
// again when it is activated. True when that was done and the message needs nothing more.
bool NoteActivation(HWND window, WPARAM state);

// Whether focus cues are hidden, as the window's UI state says (at start), and as
// WM_UPDATEUISTATE with its wParam changes it, as standard controls follow it; a change is
// repainted.
void ReadFocusCues(HWND window);
void NoteFocusCues(HWND window, WPARAM change);

// The system's focus border width and height, read again (at start and when they change).
void ReadFocusBorder();

// The procedure of the "Regen" and "Gray" controls, put over their own: Tab from "Gray" goes on
// to the upper chart and Shift+Tab from "Regen" back to the lower one.
LRESULT CALLBACK TabStopControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
