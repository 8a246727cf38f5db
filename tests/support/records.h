#pragma once
// Windows' and Direct2D's records in expectations: equal when every field is, and printed field
// by field, so that a failure (a table row's too) shows what the record held. Also a rectangle
// made from a corner and a size, and the reason given where a count of GDI objects cannot be
// compared.

#include <windows.h>
#include <d2d1.h>

#include <ostream>
#include <sstream>
#include <string>

inline bool operator==(const D2D1_COLOR_F& a, const D2D1_COLOR_F& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
inline void PrintTo(const D2D1_COLOR_F& c, std::ostream* out) {
  *out << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

inline bool operator==(const D2D1_MATRIX_3X2_F& a, const D2D1_MATRIX_3X2_F& b) {
  return a._11 == b._11 && a._12 == b._12 && a._21 == b._21 && a._22 == b._22 && a._31 == b._31 &&
         a._32 == b._32;
}
inline void PrintTo(const D2D1_MATRIX_3X2_F& m, std::ostream* out) {
  *out << "[" << m._11 << " " << m._12 << "; " << m._21 << " " << m._22 << "; " << m._31 << " "
       << m._32 << "]";
}

inline bool operator==(const D2D1_PIXEL_FORMAT& a, const D2D1_PIXEL_FORMAT& b) {
  return a.format == b.format && a.alphaMode == b.alphaMode;
}

inline bool operator==(const D2D1_RENDER_TARGET_PROPERTIES& a,
                       const D2D1_RENDER_TARGET_PROPERTIES& b) {
  return a.type == b.type && a.pixelFormat == b.pixelFormat && a.dpiX == b.dpiX &&
         a.dpiY == b.dpiY && a.usage == b.usage && a.minLevel == b.minLevel;
}
inline void PrintTo(const D2D1_RENDER_TARGET_PROPERTIES& p, std::ostream* out) {
  *out << "{type " << p.type << ", format " << p.pixelFormat.format << ", alpha "
       << p.pixelFormat.alphaMode << ", dpi " << p.dpiX << " x " << p.dpiY << ", usage " << p.usage
       << ", level " << p.minLevel << "}";
}

inline bool operator==(const D2D1_HWND_RENDER_TARGET_PROPERTIES& a,
                       const D2D1_HWND_RENDER_TARGET_PROPERTIES& b) {
  return a.hwnd == b.hwnd && a.pixelSize.width == b.pixelSize.width &&
         a.pixelSize.height == b.pixelSize.height && a.presentOptions == b.presentOptions;
}
inline void PrintTo(const D2D1_HWND_RENDER_TARGET_PROPERTIES& p, std::ostream* out) {
  *out << "{window " << p.hwnd << ", " << p.pixelSize.width << " x " << p.pixelSize.height
       << " pixels, present options " << p.presentOptions << "}";
}

inline bool operator==(const D2D1_SIZE_U& a, const D2D1_SIZE_U& b) {
  return a.width == b.width && a.height == b.height;
}
inline void PrintTo(const D2D1_SIZE_U& s, std::ostream* out) {
  *out << s.width << " x " << s.height;
}

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(const POINT& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

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
