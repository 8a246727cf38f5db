#pragma once
// Rectangles in expectations (equality, a printer for failure messages and a maker from a corner
// and a size) and the reason given where a count of GDI objects cannot be compared.

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <sstream>
#include <string>

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// How GoogleTest shows a rectangle: its corner and its size.
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ") sized " << r.right - r.left << " x "
       << r.bottom - r.top;
}

namespace win32 {

// The rectangle with its left top corner at (left, top) and the given size.
constexpr RECT Sized(LONG left, LONG top, LONG width, LONG height) {
  return RECT{left, top, left + width, top + height};
}

inline std::string Describe(const RECT& r) {
  std::ostringstream text;
  PrintTo(r, &text);
  return text.str();
}

// Why a test of a GDI object count is skipped where the count reads 0.
constexpr const char* kNoGdiCount =
    "the system counts no GDI objects (Wine answers 0), so the count cannot be compared";

}  // namespace win32
