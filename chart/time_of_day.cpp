#include "chart/time_of_day.h"

#include <windows.h>

float LocalTimeOfDay() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int wholeSeconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  return static_cast<float>(wholeSeconds) + static_cast<float>(now.wMilliseconds) / 1000.0f;
}
