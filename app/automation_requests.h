#pragma once
// What the charts' UI Automation tree asks of the window's thread: to select a slice, put it
// back or take the focus, as the pointer, Esc, Tab and the arrow keys would; and what lies under
// a point.

#include <windows.h>

#include "uia/accessible_tree.h"

// Carries out request, unless the slices it knew have been replaced since.
void CarryOutRequest(HWND window, const AutomationRequest& request);

// The answer to the tree's point message: what the pointer would find at the screen pixel
// (wParam, lParam).
LRESULT AnswerPoint(HWND window, WPARAM wParam, LPARAM lParam);
