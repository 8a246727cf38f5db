#pragma once
// The one way a slice moves out or goes back, whoever asks: the pointer, the keyboard or UI
// Automation. It starts the explode animation, keeps at most one slice out, shows or hides the
// tooltip, and lets the accessible tree know.

#include <windows.h>

#include "app/app_state.h"

// Moves slice index of chart out, as cause asked: the other chart's slice goes back, the slice
// moves out from where it is drawn now (at once while the system's animations are off), and
// the tooltip names it. A slice that is out already stays where it is and is then held by cause.
// False when that slice was out already, or index is no slice of chart.
bool MoveSliceOut(HWND window, IPieChart* chart, INT32 index, SelectionCause cause);

// Puts chart's selected slice back, stops the animation and hides the tooltip; nothing when no
// slice of chart is out.
void PutSliceBack(HWND window, IPieChart* chart);
