// CWindow: construction, DPI, fonts, the host window and destruction.

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "tests/window/window_test_support.h"

namespace {

using namespace window_test;

class WindowObject : public WindowTest {};
class HostWindow : public WindowTest {};

// Its interface identifier is checked with the others' in tests/core/interface_ids_test.cpp.
TEST_F(WindowObject, IsACountedObject) {
  ComPtr<IWindow> window;
  ASSERT_EQ(S_OK, NewWindow(&window));
  ASSERT_NE(nullptr, window.Get());
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, window.As(&unknown));
  ComPtr<IWindow> again;
  EXPECT_EQ(S_OK, unknown.As(&again));
  EXPECT_EQ(window.Get(), again.Get());
  EXPECT_EQ(nullptr, window->GetWindowHandle());
}

TEST_F(WindowObject, DefaultFontFollowsTheWindowsVersion) {
  const std::tuple<double, const wchar_t*, INT32> rows[] = {
      {5.01, L"Tahoma", 8}, {5.99, L"Tahoma", 8}, {6.0, L"Segoe UI", 9}, {10.0, L"Segoe UI", 9}};
  for (const auto& [version, face, points] : rows) {
    auto object = MakeWindowObject(version);
    EXPECT_STREQ(face, object->GetFontFaceName()) << version;
    EXPECT_EQ(points, object->GetFontPointSize()) << version;
  }
}

TEST_F(WindowObject, StartsWithoutWindowClassOrFont) {
  auto object = MakeWindowObject();
  EXPECT_EQ(GetModuleHandleW(nullptr), object->GetInstanceHandle());
  EXPECT_EQ(nullptr, object->GetWindowHandle());
  EXPECT_EQ(nullptr, object->GetWindowFont());
  EXPECT_EQ(0, object->GetClassAtom());
  EXPECT_STREQ(L"", object->GetRecordedClassName());
}

// After SetDpi(given): the object keeps dpi, and both its scales are scale.
void ExpectDpiAndScales(const ComPtr<CWindow>& object, float given, float dpi, float scale) {
  EXPECT_EQ(dpi, object->GetDpi()) << given;
  EXPECT_FLOAT_EQ(scale, object->GetHorizontalScale()) << given;
  EXPECT_FLOAT_EQ(scale, object->GetVerticalScale()) << given;
}

TEST_F(WindowObject, SetDpiRoundsHalvesToEvenButScalesByTheGivenValue) {
  auto object = MakeWindowObject();
  // The DPI given and the one kept.
  const std::pair<float, float> rows[] = {
      {144.0f, 144.0f}, {120.4f, 120.0f}, {12.5f, 12.0f}, {13.5f, 14.0f}, {119.5f, 120.0f}};
  for (const auto& [given, kept] : rows) {
    object->SetDpi(given);
    ExpectDpiAndScales(object, given, kept, given / 96.0f);
  }
}

TEST_F(WindowObject, SetDpiOfZeroOrBelowTakesTheScreenDpi) {
  const float screenDpi = static_cast<float>(win32::ScreenDpi());
  auto object = MakeWindowObject();
  for (float dpi : {-1.0f, -0.3f, 0.0f, 0.4f, -500.0f, NAN, INFINITY}) {
    object->SetDpi(200.0f);
    object->SetDpi(dpi);
    ExpectDpiAndScales(object, dpi, screenDpi, screenDpi / 96.0f);
  }
}

TEST_F(WindowObject, SetDpiZeroKeepsMeasurementsFinite) {
  ASSERT_MADE(object, Popup(0, 0, 641, 401));
  object->SetDpi(-1.0f);
  const INT32 width = object->QueryClientWidth(false);
  const INT32 height = object->QueryClientHeight(false);
  const INT32 windowWidth = object->QueryWindowWidth(false);
  object->SetDpi(0.0f);
  EXPECT_EQ(width, object->QueryClientWidth(false));
  EXPECT_EQ(height, object->QueryClientHeight(false));
  EXPECT_EQ(windowWidth, object->QueryWindowWidth(false));
  EXPECT_GT(width, 0);
}

TEST_F(WindowObject, BuildFontFillsTheDescriptionFromItsArguments) {
  auto object = MakeWindowObject();
  const std::wstring longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";  // 40 characters
  HFONT font = object->BuildFont(longFace.c_str(), 12, FW_BOLD, 1, 1, 1, ANSI_CHARSET, true);
  ASSERT_NE(nullptr, font);
  const LOGFONTW description = DescriptionOf(font);
  EXPECT_EQ(longFace.substr(0, 31), std::wstring(description.lfFaceName));
  // Weight, italic, underline, strike-out, character set, precisions, quality, pitch and family,
  // width, escapement, orientation.
  EXPECT_EQ(
      std::tuple(FW_BOLD, 1, 1, 1, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                 DEFAULT_QUALITY, 0, 0, 0, 0),
      std::tuple(description.lfWeight, description.lfItalic, description.lfUnderline,
                 description.lfStrikeOut, description.lfCharSet, description.lfOutPrecision,
                 description.lfClipPrecision, description.lfQuality, description.lfPitchAndFamily,
                 description.lfWidth, description.lfEscapement, description.lfOrientation));
  EXPECT_LT(description.lfHeight, 0);  // a character height, not a cell height

  // Each call makes a font of its own for the caller.
  HFONT other = object->BuildFont(L"Tahoma", 8, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, false);
  ASSERT_NE(nullptr, other);
  EXPECT_NE(font, other);
  EXPECT_STREQ(L"Tahoma", DescriptionOf(other).lfFaceName);
  EXPECT_EQ(0, DescriptionOf(other).lfItalic);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(other));
}

constexpr float kRebuildDpis[] = {144.0f, 120.0f, 192.0f, 96.0f};

TEST_F(WindowObject, RebuiltFontFollowsTheDpiAndReplacesTheOldOneEverywhere) {
  ASSERT_MADE(object, Popup(0, 0, 400, 300));
  const auto [button, box] = AddControls(object.object);
  HWND own = object->AddChildControl(L"Static", nullptr, 103, L"own", 10, 50, 100, 20, WS_VISIBLE,
                                     0, nullptr, nullptr, false);
  ASSERT_TRUE(Made(button) && Made(box) && Made(own));
  // A control with a font of its own keeps it.
  const HFONT ownFont = object->BuildFont(L"Tahoma", 12, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, true);
  SendMessageW(own, WM_SETFONT, reinterpret_cast<WPARAM>(ownFont), FALSE);

  for (int round = 0; round < 10; ++round) {
    for (const float dpi : kRebuildDpis) {
      object->SetDpi(dpi);
      const HFONT old = object->GetWindowFont();
      const HFONT font = object->RebuildFont();
      ASSERT_NE(nullptr, font) << dpi;
      EXPECT_EQ(font, object->GetWindowFont());
      EXPECT_EQ(0u, GetObjectType(old)) << "the old font was not deleted at " << dpi;
      EXPECT_EQ(font, FontOf(button)) << dpi;
      EXPECT_EQ(font, FontOf(box)) << dpi;
      EXPECT_EQ(ownFont, FontOf(own)) << dpi;
      // 9 points at the object's DPI, whatever the screen's is.
      const LOGFONTW description = DescriptionOf(font);
      EXPECT_EQ(-MulDiv(9, static_cast<int>(dpi), 72), description.lfHeight) << dpi;
      EXPECT_STREQ(L"Segoe UI", description.lfFaceName);
      EXPECT_EQ(FW_NORMAL, description.lfWeight);
    }
  }
  DestroyWindow(own);
  EXPECT_TRUE(DeleteObject(ownFont));

  // Without a window the object just replaces its font.
  auto lonely = MakeWindowObject();
  const HFONT first = lonely->RebuildFont();
  ASSERT_NE(nullptr, first);
  lonely->SetDpi(144.0f);
  const HFONT second = lonely->RebuildFont();
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(0u, GetObjectType(first));
  EXPECT_EQ(-18, DescriptionOf(second).lfHeight);
}

// Where the system counts GDI objects; Wine does not, and the test says so.
TEST_F(WindowObject, FortyRebuiltFontsLeaveTheGdiObjectCountAsItWas) {
  ASSERT_MADE(object, Popup(0, 0, 400, 300));
  const auto [button, box] = AddControls(object.object);
  ASSERT_TRUE(Made(button) && Made(box));
  const DWORD gdiBefore = win32::GdiObjectCount();
  if (gdiBefore == 0) GTEST_SKIP() << win32::kNoGdiCount;
  for (int round = 0; round < 10; ++round) {
    for (const float dpi : kRebuildDpis) {
      object->SetDpi(dpi);
      ASSERT_NE(nullptr, object->RebuildFont()) << dpi;
    }
  }
  EXPECT_EQ(gdiBefore, win32::GdiObjectCount());
}

TEST_F(HostWindow, DefaultStylesFontAndRecordedClass) {
  for (DWORD given : {0x0u, 0xFFFFFFFFu}) {
    ASSERT_MADE(window, Framed(20, 20, 300, 200, given, given));
    CWindow* object = window.object.Get();
    EXPECT_EQ(window.get(), object->GetWindowHandle());
    EXPECT_EQ(0x06CF0000u, StyleOf(window.get()));
    EXPECT_EQ(0x00010100u, ExStyleOf(window.get()));
    EXPECT_EQ(ClassNameOf(window.get()), object->GetRecordedClassName());
    EXPECT_EQ(object->GetClassAtom(), static_cast<ATOM>(GetClassLongPtrW(window.get(), GCW_ATOM)));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(object), GetClassLongPtrW(window.get(), 0));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(DefaultHostProc),
              static_cast<ULONG_PTR>(GetClassLongPtrW(window.get(), GCLP_WNDPROC)));

    const LOGFONTW font = DescriptionOf(object->GetWindowFont());
    EXPECT_STREQ(L"Segoe UI", font.lfFaceName);
    EXPECT_EQ(FW_NORMAL, font.lfWeight);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
    EXPECT_EQ(0, font.lfItalic);
  }
}

TEST_F(HostWindow, GivenStylesAreUsedUnchanged) {
  ASSERT_MADE(window, Framed(20, 20, 300, 200, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW));
  // The system itself adds WS_CLIPSIBLINGS to top-level windows; nothing else may appear.
  EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW),
            StyleOf(window.get()) & ~static_cast<DWORD>(WS_CLIPSIBLINGS));
  EXPECT_EQ(0u, ExStyleOf(window.get()) & WS_EX_CONTROLPARENT);
  EXPECT_NE(0u, ExStyleOf(window.get()) & WS_EX_TOOLWINDOW);
}

// What the test window procedure saw while the window was created.
struct CreationRecord {
  void* createParam = nullptr;
  HWND handleDuringCreation = reinterpret_cast<HWND>(1);
  bool fontMessageSeen = false;
  WPARAM fontSent = 0;
  LPARAM fontRedraw = -1;
};
CreationRecord creation;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    void* param = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
    creation.createParam = param;
    CWindow* object = *static_cast<CWindow**>(param);
    creation.handleDuringCreation = object->GetWindowHandle();
  } else if (message == WM_SETFONT) {
    creation.fontMessageSeen = true;
    creation.fontSent = wParam;
    creation.fontRedraw = lParam;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HostWindow, CreationSeesTheObjectAndGetsTheFontWithoutRedraw) {
  creation = CreationRecord{};
  ASSERT_MADE(window, Popup(0, 0, 100, 100, RecordingProc));
  ASSERT_NE(nullptr, creation.createParam);
  EXPECT_EQ(nullptr, creation.handleDuringCreation);
  EXPECT_TRUE(creation.fontMessageSeen);
  EXPECT_NE(0u, creation.fontSent);
  EXPECT_EQ(reinterpret_cast<WPARAM>(window->GetWindowFont()), creation.fontSent);
  EXPECT_EQ(0, creation.fontRedraw);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(RecordingProc),
            static_cast<ULONG_PTR>(GetClassLongPtrW(window.get(), GCLP_WNDPROC)));
}

TEST_F(HostWindow, ScalesPositionAndSizeWithHalvesToEven) {
  const std::pair<float, RECT> rows[] = {{96.0f, Sized(10, 30, 300, 250)},
                                         {120.0f, Sized(12, 38, 375, 312)},
                                         {144.0f, Sized(15, 45, 450, 375)}};
  for (const auto& [dpi, expected] : rows) {
    ASSERT_MADE(window, Popup(10, 30, 300, 250, nullptr, dpi, false));
    EXPECT_EQ(expected, WindowBounds(window.get())) << dpi;
  }
}

TEST_F(HostWindow, PixelsAreUsedAsGiven) {
  ASSERT_MADE(window, Popup(11, 33, 301, 251, nullptr, 144.0f));
  EXPECT_EQ(Sized(11, 33, 301, 251), WindowBounds(window.get()));
}

TEST_F(HostWindow, ZeroWidthAsksForTheDefaultSizeAndZeroXForTheDefaultPlace) {
  // With a default x the system ignores y; with a default width it ignores the height.
  ASSERT_MADE(placed, Framed(40, 50, 0, 60));
  const RECT placedBounds = WindowBounds(placed.get());
  EXPECT_EQ(40, placedBounds.left);
  EXPECT_EQ(50, placedBounds.top);
  EXPECT_NE(0, placedBounds.right - placedBounds.left);
  EXPECT_NE(60, placedBounds.bottom - placedBounds.top);

  ASSERT_MADE(defaulted, Framed(0, 7, 0, 60));
  EXPECT_NE(7, WindowBounds(defaulted.get()).top);

  ASSERT_MADE(sized, Framed(0, 7, 300, 200));
  EXPECT_EQ(Sized(0, 7, 300, 200), WindowBounds(sized.get()));
}

TEST_F(HostWindow, OneWindowPerObject) {
  ASSERT_MADE(object, Popup(0, 0, 100, 100));
  const std::wstring className = object->GetRecordedClassName();
  const ATOM atom = object->GetClassAtom();
  const HFONT font = object->GetWindowFont();

  EXPECT_EQ(nullptr, CreatePopup(object.object.Get(), 0, 0, 100, 100));
  EXPECT_EQ(object.get(), object->GetWindowHandle());
  EXPECT_EQ(className, object->GetRecordedClassName());
  EXPECT_EQ(atom, object->GetClassAtom());
  EXPECT_EQ(font, object->GetWindowFont());

  // The refused call registered nothing: the next object takes the next number.
  ASSERT_MADE(next, Popup(0, 0, 100, 100));
  EXPECT_EQ(ClassNumber(className) + 1, ClassNumber(next->GetRecordedClassName()));
}

TEST_F(HostWindow, SetWindowHandleAdoptsOnlyWhileThereIsNone) {
  auto object = MakeWindowObject();
  ScopedWindow first(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr));
  ScopedWindow second(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr));
  object->SetWindowHandle(first.get());
  EXPECT_EQ(first.get(), object->GetWindowHandle());
  object->SetWindowHandle(second.get());
  EXPECT_EQ(first.get(), object->GetWindowHandle());
  object->SetWindowHandle(nullptr);
  EXPECT_EQ(first.get(), object->GetWindowHandle());
  // An adopted window counts as the object's one window.
  EXPECT_EQ(nullptr, CreatePopup(object.Get(), 0, 0, 10, 10));
}

TEST_F(HostWindow, FailedCreationLeavesNoWindowAndCanBeRetried) {
  auto object = MakeWindowObject();
  // A child window needs a parent.
  EXPECT_EQ(nullptr, object->CreateHostWindow(nullptr, L"Child", 0, 0, 100, 100, WS_CHILD, 0,
                                              nullptr, true));
  EXPECT_EQ(nullptr, object->GetWindowHandle());
  EXPECT_STREQ(L"", object->GetRecordedClassName());
  const HFONT firstFont = object->GetWindowFont();
  EXPECT_EQ(OBJ_FONT, GetObjectType(firstFont));

  ASSERT_MADE(window, ScopedWindow(CreatePopup(object.Get(), 0, 0, 100, 100)));
  EXPECT_EQ(window.get(), object->GetWindowHandle());
  EXPECT_EQ(OBJ_FONT, GetObjectType(object->GetWindowFont()));
  if (object->GetWindowFont() != firstFont) {
    EXPECT_EQ(0u, GetObjectType(firstFont));  // the first font was not leaked
  }
}

TEST_F(HostWindow, DestructionDeletesTheFontAndUnregistersTheClass) {
  auto object = MakeWindowObject();
  ASSERT_MADE(window, CreatePopup(object.Get(), 0, 0, 100, 100));
  const std::wstring className = object->GetRecordedClassName();
  const HFONT font = object->GetWindowFont();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(window, object->GetWindowHandle());  // the old value stays

  object.Reset();
  EXPECT_EQ(0, RegisteredClass(className.c_str()));
  EXPECT_EQ(0u, GetObjectType(font));
}

TEST_F(HostWindow, ClassOfAWindowThatOutlivesItsObjectStaysRegistered) {
  ASSERT_MADE(window, Popup(0, 0, 100, 100));
  const std::wstring className = window->GetRecordedClassName();
  window.object.Reset();
  EXPECT_TRUE(IsWindow(window.get()));
  EXPECT_NE(0, RegisteredClass(className.c_str()));
  DestroyWindow(window.get());
  EXPECT_TRUE(UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr)));
}

}  // namespace
