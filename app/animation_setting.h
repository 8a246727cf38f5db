#pragma once
// The system's "Show animations in Windows" setting, and how a newly selected slice moves out
// under it.

#include <windows.h>

#include "chart/ipie_chart.h"

// Whether the system lets windows animate their client areas (SPI_GETCLIENTAREAANIMATION); true
// when it cannot be read.
bool ReadClientAreaAnimation();

// Starts moving the newly selected slice of chart out of its pie: with the explode timer, or,
// when the user turned animations off, all at once and with no timer running.
void StartExplode(HWND window, IPieChart* chart);
