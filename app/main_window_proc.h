#pragma once
// The main window's procedure: commands, hover selection, the explode animation, layout, paint.

#include <windows.h>

#include "chart/ipie_chart.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the pointer moving onto slice index of chart does: the slice is selected and moves out,
// and the other chart's selection goes. False when the slice was selected already.
bool SelectSliceAsPointer(HWND window, IPieChart* chart, INT32 index);

// What the pointer leaving chart's ellipse does: its selected slice goes back, the timer stops.
void PutSliceBack(HWND window, IPieChart* chart);

// Seconds from earlier to later on a time-of-day clock that restarts at midnight.
float SecondsSince(float earlier, float later);
