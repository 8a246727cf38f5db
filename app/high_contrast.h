#pragma once
// The system's contrast theme setting.

#include <windows.h>

// Whether a contrast theme is on (SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON).
bool ReadHighContrast();
