#pragma once
// The animation that moves a selected slice out of its pie: 20 units in 0.1 s on a 16 ms timer,
// or out at once while the system's animations are off.

#include <windows.h>

#include "chart/ipie_chart.h"

// The system's "Show animations in Windows" (SPI_GETCLIENTAREAANIMATION); true when it cannot be
// read.
bool ReadClientAreaAnimation();

// Starts moving the newly selected slice of chart out: the timer runs, or the slice is out at
// once when the window's animation setting is off.
void StartExplode(HWND window, IPieChart* chart);

// One timer tick: the selected slice moves on, and the timer stops once it is out (or when
// nothing is selected, so that no tick keeps it alive).
void TickExplode(HWND window);

// Seconds from earlier to later on a time-of-day clock that restarts at midnight.
float SecondsSince(float earlier, float later);
