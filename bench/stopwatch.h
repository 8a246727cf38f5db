#pragma once
// Wall-clock and CPU-time readings for the Windows benchmark programs.

#include <windows.h>

namespace bench {

// Milliseconds on the performance counter.
inline double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

inline double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

// User plus kernel time of a process so far, in milliseconds.
inline double CpuTimeMs(HANDLE process) {
  FILETIME creation, exit, kernel, user;
  if (!GetProcessTimes(process, &creation, &exit, &kernel, &user)) return -1.0;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

// Milliseconds from the creation of this process to now, on the system clock.
inline double MsSinceProcessStart() {
  FILETIME creation, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return FileTimeMs(now) - FileTimeMs(creation);
}

}  // namespace bench
