#pragma once
// Shared pieces of the window framework tests: objects, windows that clean up after themselves,
// the application's two controls, and readers of what the system made.

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>

#include "com/com_object.h"
#include "helpers/win32.h"
#include "tests/support/records.h"
#include "window/cwindow.h"

namespace window_test {

using orb::ComPtr;
using win32::ChildBounds;
using win32::ClassNameOf;
using win32::ClientBounds;
using win32::DescriptionOf;
using win32::ExStyleOf;
using win32::FontOf;
using win32::Sized;
using win32::StyleOf;
using win32::TextOf;
using win32::WindowBounds;

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

 private:
  HWND window_;
};

// Checks that every test gives back each object it made and leaves no message behind (a
// WM_QUIT included, so that no test sees another's).
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { liveAtStart_ = orb::LiveObjectCount(); }
  void TearDown() override {
    win32::PumpMessages();
    EXPECT_EQ(liveAtStart_, orb::LiveObjectCount());
  }

 private:
  LONG liveAtStart_ = 0;
};

// Number after the last ':' of a generated class name; -1 if there is none.
inline int ClassNumber(const std::wstring& name) {
  const size_t colon = name.rfind(L':');
  if (colon == std::wstring::npos || colon + 1 == name.size()) return -1;
  return static_cast<int>(wcstol(name.c_str() + colon + 1, nullptr, 10));
}

// The atom of the class of this program registered under name; 0 when there is none.
inline ATOM RegisteredClass(LPCWSTR name) {
  WNDCLASSEXW found = {};
  found.cbSize = sizeof(found);
  return static_cast<ATOM>(GetClassInfoExW(GetModuleHandleW(nullptr), name, &found));
}

// A borderless window, so that its client area and its window rectangle agree.
inline HWND CreatePopup(CWindow* object, INT32 x, INT32 y, INT32 width, INT32 height,
                        WNDPROC windowProc = nullptr, bool inPixels = true) {
  return object->CreateHostWindow(nullptr, L"popup", x, y, width, height, WS_POPUP,
                                  WS_EX_TOOLWINDOW, windowProc, inPixels);
}

// A new window object with the window that make(object) made for it; the window goes at the end
// of the scope, before the object.
struct Hosted {
  template <typename Make>
  explicit Hosted(Make make) : object(MakeWindowObject()), window(make(object.Get())) {}
  CWindow* operator->() const { return object.Get(); }
  HWND get() const { return window.get(); }

  ComPtr<CWindow> object;
  ScopedWindow window;
};

// A borderless window (see CreatePopup) of an object at dpi (0: the screen's).
inline Hosted Popup(INT32 x, INT32 y, INT32 width, INT32 height, WNDPROC windowProc = nullptr,
                    float dpi = 0.0f, bool inPixels = true) {
  return Hosted([=](CWindow* object) {
    if (dpi > 0.0f) object->SetDpi(dpi);
    return CreatePopup(object, x, y, width, height, windowProc, inPixels);
  });
}

// A window of the given styles (0: the default ones) and size in pixels, of an object at dpi.
inline Hosted Framed(INT32 x, INT32 y, INT32 width, INT32 height, DWORD style = 0,
                     DWORD exStyle = 0, float dpi = 0.0f) {
  return Hosted([=](CWindow* object) {
    if (dpi > 0.0f) object->SetDpi(dpi);
    return object->CreateHostWindow(nullptr, L"Host", x, y, width, height, style, exStyle, nullptr,
                                    true);
  });
}

// The application's controls: "Regen" at (10, 10) and "Gray" at (10, 30), 100 x 20 units each.
constexpr INT32 kRegenId = 101;
constexpr INT32 kGrayId = 102;

inline HWND AddRegenButton(const ComPtr<CWindow>& object, DWORD style = 0, DWORD exStyle = 0) {
  return object->AddPushButton(nullptr, kRegenId, L"Regen", 10, 10, 100, 20, style, exStyle,
                               nullptr, false);
}

inline HWND AddGrayBox(const ComPtr<CWindow>& object, DWORD style = 0, DWORD exStyle = 0) {
  return object->AddAutoCheckBox(nullptr, kGrayId, L"Gray", 10, 30, 100, 20, style, exStyle,
                                 nullptr, false);
}

// Both controls, with the given styles.
inline std::pair<HWND, HWND> AddControls(const ComPtr<CWindow>& object, DWORD style = 0,
                                         DWORD exStyle = 0) {
  return {AddRegenButton(object, style, exStyle), AddGrayBox(object, style, exStyle)};
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
// The same for the window of a Hosted or a ScopedWindow.
template <typename Owner>
::testing::AssertionResult Made(const Owner& owner) {
  return Made(owner.get());
}

}  // namespace window_test

// Declares name as what call made (a window, or an object that holds one) and stops the test when
// no window was made. The name is declared, so it cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define ASSERT_MADE(name, call) \
  auto name = (call);           \
  ASSERT_TRUE(window_test::Made(name))
// NOLINTEND(bugprone-macro-parentheses)
