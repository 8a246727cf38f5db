#pragma once
// Shared pieces of the window framework tests: objects, windows that clean up after themselves,
// and readers of what the system made.

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "com/com_object.h"
#include "window/cwindow.h"

namespace window_test {

using orb::ComPtr;

// A CWindow as the application makes it, or for a given Windows version.
inline ComPtr<CWindow> MakeWindowObject(double osVersion = 6.01) {
  return orb::MakeComObject<CWindow>(osVersion);
}

// Destroys a window at the end of a scope, if it still exists.
class ScopedWindow {
 public:
  explicit ScopedWindow(HWND window = nullptr) : window_(window) {}
  ScopedWindow(const ScopedWindow&) = delete;
  ScopedWindow& operator=(const ScopedWindow&) = delete;
  ~ScopedWindow() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  }
  HWND get() const { return window_; }
  void reset(HWND window) { window_ = window; }

 private:
  HWND window_;
};

// Removes everything queued for this thread, WM_QUIT included, so that no test sees another's.
inline void DrainMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) DispatchMessageW(&message);
  }
}

// Checks that every test gives back each object it made and leaves no message behind.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { liveAtStart_ = orb::LiveObjectCount(); }
  void TearDown() override {
    DrainMessages();
    EXPECT_EQ(liveAtStart_, orb::LiveObjectCount());
  }

 private:
  LONG liveAtStart_ = 0;
};

inline int ScreenDpiX() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

inline RECT WindowBounds(HWND window) {
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  return bounds;
}

inline RECT ClientBounds(HWND window) {
  RECT bounds = {};
  GetClientRect(window, &bounds);
  return bounds;
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildBounds(HWND child) {
  RECT bounds = WindowBounds(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

inline DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

inline DWORD ExStyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

inline LOGFONTW FontOf(HFONT font) {
  LOGFONTW description = {};
  GetObjectW(font, sizeof(description), &description);
  return description;
}

inline std::wstring ClassNameOf(HWND window) {
  WCHAR name[260] = {};
  GetClassNameW(window, name, 260);
  return name;
}

// Number after the last ':' of a generated class name; -1 if there is none.
inline int ClassNumber(const std::wstring& name) {
  const size_t colon = name.rfind(L':');
  if (colon == std::wstring::npos || colon + 1 == name.size()) return -1;
  return static_cast<int>(wcstol(name.c_str() + colon + 1, nullptr, 10));
}

// A borderless window, so that its client area and its window rectangle agree.
inline HWND CreatePopup(CWindow* object, INT32 x, INT32 y, INT32 width, INT32 height,
                        WNDPROC windowProc = nullptr, bool inPixels = true) {
  return object->CreateHostWindow(nullptr, L"popup", x, y, width, height, WS_POPUP,
                                  WS_EX_TOOLWINDOW, windowProc, inPixels);
}

// Passes for a window that was made. For a null one it tells what the system reported: the
// thread's last error (read before anything else can change it) and whether the desktop exists.
inline ::testing::AssertionResult Made(HWND window) {
  const DWORD error = GetLastError();
  if (window != nullptr) return ::testing::AssertionSuccess();
  const HWND desktop = GetDesktopWindow();
  return ::testing::AssertionFailure()
         << "no window was made: GetLastError " << error << ", desktop window " << desktop
         << (IsWindow(desktop) ? "" : " (not a window)");
}

inline ::testing::AssertionResult RectIs(const RECT& actual, LONG left, LONG top, LONG width,
                                         LONG height) {
  if (actual.left == left && actual.top == top && actual.right - actual.left == width &&
      actual.bottom - actual.top == height) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "rectangle at (" << actual.left << ", " << actual.top << ") sized "
         << actual.right - actual.left << " x " << actual.bottom - actual.top << ", expected ("
         << left << ", " << top << ") sized " << width << " x " << height;
}

}  // namespace window_test
