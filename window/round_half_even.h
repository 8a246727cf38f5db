#pragma once
// Conversion of scaled positions and sizes to whole pixels: nearest integer, halves to even, so
// that 12.5 becomes 12 and 37.5 becomes 38 whatever the floating-point rounding mode is.

#include <windows.h>

#include <climits>
#include <cmath>

namespace orb {

// Values beyond the INT32 range are clamped to it; NaN gives 0.
inline INT32 RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  const double lower = std::floor(value);
  const double fraction = value - lower;
  // Up past the half, and at the half only from an odd number.
  const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0);
  return static_cast<INT32>(up ? lower + 1.0 : lower);
}

}  // namespace orb
