#pragma once
// Shared by the stand-in's tests: the factory, path building, a test window and reading back
// what reached the window.

#include <d2d1.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "com/com_object.h"

namespace d2d1test {

using orb::ComPtr;

ComPtr<ID2D1Factory> MakeFactory();

// A closed path geometry written by write; empty if any step failed.
ComPtr<ID2D1PathGeometry> MakePath(ID2D1Factory* factory,
                                   const std::function<void(ID2D1GeometrySink*)>& write);

// One figure: start, then arcs/lines written by write, closed.
D2D1_ARC_SEGMENT Arc(float x, float y, float rx, float ry, float rotation,
                     D2D1_SWEEP_DIRECTION sweep, D2D1_ARC_SIZE size);

// Whether geometry's fill holds point; the call itself must succeed (a failed call also
// answers FALSE, so an unchecked FALSE proves nothing).
bool FillContains(ID2D1Geometry* geometry, D2D1_POINT_2F point,
                  const D2D1_MATRIX_3X2_F* transform = nullptr, float tolerance = 0.0f);

// The live-object count the loaded d2d1.dll reports; -1 when it is not the stand-in.
LONG StandInLiveObjects();

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
void PumpMessages();

}  // namespace d2d1test
