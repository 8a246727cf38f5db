// What the framework does at the screen's own DPI. This suite runs once more in a Wine prefix
// whose screen is 120 DPI, so that the scaling is seen on a real screen setting.

#include <map>

#include "tests/window/window_test_support.h"

namespace {

using namespace window_test;

struct AtDpi {
  float scale;
  RECT button;
  RECT box;
  RECT host;
  SIZE client;
  LONG segoe9Height;
  LONG tahoma8Height;
  LONG at96Height;   // 9 points for an object at 96 DPI
  LONG at144Height;  // 9 points for an object at 144 DPI
  LONG exact9Height;
};

// A table, kept as written: the formatter would give each value a line of its own.
// clang-format off
const std::map<int, AtDpi> kExpected = {
    {96, {1.0f, Sized(10, 10, 100, 20), Sized(10, 30, 100, 20), Sized(10, 30, 300, 250),
          {512, 540}, -12, -11, -12, -17, -12}},
    {120, {1.25f, Sized(12, 12, 125, 25), Sized(12, 38, 125, 25), Sized(12, 38, 375, 312),
           {640, 675}, -15, -13, -12, -17, -15}},
};
// clang-format on

class ScreenDpi : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    const auto found = kExpected.find(win32::ScreenDpi());
    if (found == kExpected.end()) GTEST_SKIP() << "no figures for " << win32::ScreenDpi() << " DPI";
    expected_ = found->second;
  }
  AtDpi expected_ = {};
};

TEST_F(ScreenDpi, ConstructionTakesTheScreenDpi) {
  auto object = MakeWindowObject();
  EXPECT_EQ(static_cast<float>(win32::ScreenDpi()), object->GetDpi());
  EXPECT_EQ(expected_.scale, object->GetHorizontalScale());
  EXPECT_EQ(expected_.scale, object->GetVerticalScale());
}

TEST_F(ScreenDpi, TheWindowsDpiIsTheScreensOnASingleScreen) {
  // Without a window yet, and with a window of an object told 144 DPI.
  EXPECT_EQ(static_cast<float>(win32::ScreenDpi()), MakeWindowObject()->QueryWindowDpi());
  ASSERT_MADE(object, Popup(0, 0, 100, 100, nullptr, 144.0f));
  // What the system gives the window, not what the object was told.
  EXPECT_EQ(static_cast<float>(win32::ScreenDpi()), object->QueryWindowDpi());
}

TEST_F(ScreenDpi, HostWindowAndControlsLandOnScaledPixels) {
  auto object = MakeWindowObject();
  ASSERT_MADE(window, ScopedWindow(CreatePopup(object.Get(), 10, 30, 300, 250, nullptr, false)));
  EXPECT_EQ(expected_.host, WindowBounds(window.get()));

  const auto [button, box] = AddControls(object);
  ASSERT_TRUE(Made(button));
  ASSERT_TRUE(Made(box));
  EXPECT_EQ(expected_.button, ChildBounds(button));
  EXPECT_EQ(expected_.box, ChildBounds(box));
}

TEST_F(ScreenDpi, ApplicationClientAreaIsScaled) {
  auto object = MakeWindowObject();
  ASSERT_MADE(window, ScopedWindow(object->CreateHostWindow(nullptr, L"Main", 0, 0, 0, 0, 0, 0,
                                                            nullptr, false)));
  object->ResizeClientArea(512, 540);
  EXPECT_EQ(Sized(0, 0, expected_.client.cx, expected_.client.cy), ClientBounds(window.get()));
  EXPECT_EQ(512, object->QueryClientWidth(false));
  EXPECT_EQ(540, object->QueryClientHeight(false));
}

TEST_F(ScreenDpi, WindowFontHeights) {
  for (double version : {6.01, 5.01}) {
    auto object = MakeWindowObject(version);
    ASSERT_MADE(window, ScopedWindow(CreatePopup(object.Get(), 0, 0, 100, 100)));
    const LOGFONTW font = DescriptionOf(object->GetWindowFont());
    EXPECT_EQ(version >= 6 ? expected_.segoe9Height : expected_.tahoma8Height, font.lfHeight)
        << version;
  }
}

TEST_F(ScreenDpi, BuildFontSizesForTheObjectDpiUnlessExact) {
  auto object = MakeWindowObject();
  auto height = [&](bool exact) {
    HFONT font = object->BuildFont(L"Segoe UI", 9, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, exact);
    const LONG result = DescriptionOf(font).lfHeight;
    DeleteObject(font);
    return result;
  };
  object->SetDpi(96.0f);
  EXPECT_EQ(expected_.at96Height, height(false));
  EXPECT_EQ(expected_.exact9Height, height(true));
  object->SetDpi(144.0f);
  EXPECT_EQ(expected_.at144Height, height(false));
  EXPECT_EQ(expected_.exact9Height, height(true));
  object->SetDpi(120.0f);
  EXPECT_EQ(-15, height(false));  // 120 DPI gives the same 15 pixels on either screen
}

}  // namespace
