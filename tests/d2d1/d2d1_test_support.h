#pragma once
// Shared by the stand-in's tests: the factory, path building, a test window and reading back
// what reached the window, and frames drawn on a window (clear, draw, read back).

#include <d2d1.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "com/com_object.h"
#include "helpers/win32.h"

namespace d2d1test {

using orb::ComPtr;

ComPtr<ID2D1Factory> MakeFactory();

// A closed path geometry written by write; empty if any step failed.
ComPtr<ID2D1PathGeometry> MakePath(ID2D1Factory* factory,
                                   const std::function<void(ID2D1GeometrySink*)>& write);

// A new path geometry and its open sink; both null, and a failure noted, if either call failed.
struct OpenPath {
  ComPtr<ID2D1PathGeometry> path;
  ComPtr<ID2D1GeometrySink> sink;
};
OpenPath OpenNewPath(ID2D1Factory* factory);

// An arc segment to (x, y); clockwise and small unless asked otherwise.
inline D2D1_ARC_SEGMENT Arc(float x, float y, float rx, float ry, float rotation = 0,
                            D2D1_SWEEP_DIRECTION sweep = D2D1_SWEEP_DIRECTION_CLOCKWISE,
                            D2D1_ARC_SIZE size = D2D1_ARC_SIZE_SMALL) {
  return {{x, y}, {rx, ry}, rotation, sweep, size};
}

// Whether geometry's fill holds point; the call itself must succeed (a failed call also
// answers FALSE, so an unchecked FALSE proves nothing).
bool FillContains(ID2D1Geometry* geometry, D2D1_POINT_2F point,
                  const D2D1_MATRIX_3X2_F* transform = nullptr, float tolerance = 0.0f);

// Expects bounds to be (left, top, right, bottom) within tolerance.
void ExpectBounds(const D2D1_RECT_F& bounds, double left, double top, double right, double bottom,
                  double tolerance);

using win32::StandInLiveObjects;

// A visible top-level window with a plain client area of the given size, destroyed on scope exit.
class TestWindow {
 public:
  TestWindow(int clientWidth, int clientHeight, DWORD extraStyle = 0);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // What the window's client area shows now, as 0x00RRGGBB per pixel, top row first.
  std::vector<std::uint32_t> Capture() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HWND hwnd_ = nullptr;
  int width_, height_;
};

ComPtr<ID2D1HwndRenderTarget> MakeTarget(ID2D1Factory* factory, HWND hwnd, UINT32 width,
                                         UINT32 height, float dpi = 0.0f);

// Handles pending window messages (paints, activation) of this thread.
using win32::PumpMessages;

D2D1_COLOR_F Rgb(float r, float g, float b);
ComPtr<ID2D1SolidColorBrush> Brush(ID2D1RenderTarget* target, D2D1_COLOR_F color);
int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb);

// One figure of lines through points (closed and filled unless asked otherwise); a square.
ComPtr<ID2D1PathGeometry> Polygon(ID2D1Factory* factory,
                                  std::initializer_list<D2D1_POINT_2F> points,
                                  D2D1_FIGURE_BEGIN begin = D2D1_FIGURE_BEGIN_FILLED,
                                  D2D1_FIGURE_END end = D2D1_FIGURE_END_CLOSED);
ComPtr<ID2D1PathGeometry> Square(ID2D1Factory* factory, float left, float top, float size);

// The result of a creation call, of whatever interface it makes; non-null before the call.
class AnyResult {
 public:
  template <typename T>
  operator T**() {  // NOLINT(google-explicit-constructor): taken as any call's out-pointer
    return reinterpret_cast<T**>(&result_);
  }
  bool Null() const { return result_ == nullptr; }

 private:
  void* result_ = this;
};

// Expects each named creation call to answer E_NOTIMPL and to null its result.
using Creation = std::pair<const char*, std::function<HRESULT(AnyResult&)>>;
void ExpectNotImplemented(std::initializer_list<Creation> creations);

// A window with a render target on it at dpi (0: the desktop's), and its frames.
struct Canvas {
  Canvas(int width, int height, float dpi = 96.0f, DWORD extraStyle = 0);

  // One frame: cleared to background, then drawn by draw; what EndDraw answered.
  HRESULT Frame(D2D1_COLOR_F background, const std::function<void(ID2D1RenderTarget*)>& draw,
                D2D1_TAG* tag1 = nullptr, D2D1_TAG* tag2 = nullptr);
  // A pixel of a capture of the window.
  std::uint32_t At(const std::vector<std::uint32_t>& pixels, int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(window.Width()) +
                  static_cast<std::size_t>(x)];
  }

  // Whether the render target was made.
  explicit operator bool() const { return target != nullptr; }

  ComPtr<ID2D1Factory> factory;
  TestWindow window;
  ComPtr<ID2D1HwndRenderTarget> target;
};

}  // namespace d2d1test

// Declares name as what call made (a Direct2D object, or a canvas with its render target) and
// stops the test when nothing was made. The name is declared, so it cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define ASSERT_MADE(name, call) \
  auto name = (call);           \
  ASSERT_TRUE(name)
// NOLINTEND(bugprone-macro-parentheses)
