// The charts within reach of the keyboard, in process, where the end-to-end test cannot look:
// the keys, the pointer and the focus sharing one selection, the focus rectangle hidden with the
// focus cues, the tooltip's place and when it hides, and all of it after a change of DPI.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "palette/irenderable.h"
#include "tests/app/app_fixture.h"
#include "tests/app/dpi_suggestion.h"
#include "tests/app/focus_lines.h"
#include "tests/app/screen_capture.h"
#include "uia/accessible_tree.h"

namespace apptest {
namespace {

class KeyboardTest : public AppTest {
 protected:
  // Presses key as the program's message loop would get it: the dialog manager first.
  void Press(WPARAM key) const {
    MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    if (!IsDialogMessageW(window_, &message)) DispatchMessageW(&message);
  }

  // The upper chart focused from "Gray", as a keyboard user gets there.
  void FocusUpperChart() const {
    SetFocus(GetDlgItem(window_, IdGray));
    Press(VK_TAB);
    ASSERT_EQ(0, FocusedChart());
  }

  HWND Tooltip() const { return App().Tooltip.window; }
  // What the tooltip shows, as it answers WM_GETTEXT; "(hidden)" while it is hidden.
  std::string TooltipText() const {
    wchar_t text[128] = {};
    if (Tooltip() == nullptr || !IsWindowVisible(Tooltip())) return "(hidden)";
    SendMessageW(Tooltip(), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return win32::Narrow(text);
  }

  // What is wrong with where the tooltip stands beside the upper chart's fully pulled-out slice:
  // it covers none of the slice, and lies within 30 units of the slice's drawn rectangle.
  std::string TooltipBesideSlice(INT32 index) const {
    const float scale = PixelsPerDip();
    RECT pixels = win32::WindowBounds(Tooltip());
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&pixels), 2);
    const D2D1_RECT_F tip{static_cast<float>(pixels.left) / scale,
                          static_cast<float>(pixels.top) / scale,
                          static_cast<float>(pixels.right - 1) / scale,
                          static_cast<float>(pixels.bottom - 1) / scale};
    std::ostringstream problems;
    for (float i = 0.0f; i <= 1.0f; i += 0.25f) {
      for (float j = 0.0f; j <= 1.0f; j += 0.25f) {
        const float x = tip.left + (tip.right - tip.left) * i;
        const float y = tip.top + (tip.bottom - tip.top) * j;
        if (HitAt(x, y) == index) problems << "covers the slice at (" << x << ", " << y << "); ";
      }
    }
    PieSlice slice{};
    Upper()->GetSlice(index, &slice);
    const float gap = std::max({tip.left - slice.bounds.right, slice.bounds.left - tip.right,
                                tip.top - slice.bounds.bottom, slice.bounds.top - tip.bottom});
    if (gap > 30.0f) problems << "stands " << gap << " units off; ";
    return problems.str();
  }

  INT32 HitAt(float x, float y) const {
    orb::ComPtr<IRenderable> chart;
    Upper()->QueryInterface(IID_PPV_ARGS(&chart));
    return chart->HitTest(x, y, App().D2DHelper->MakeIdentityMatrix());
  }
};

TEST_F(KeyboardTest, KeysPointerAndFocusShareOneSelection) {
  FocusUpperChart();
  EXPECT_EQ(-1, Upper()->GetSelectedSlice()) << "focusing a chart moves no slice";
  EXPECT_EQ("(hidden)", TooltipText());
  // The arrows go on from the pointer's slice; the keyboard's then stays when the pointer
  // leaves the ellipse or the window, and the other chart's goes.
  ASSERT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
  ASSERT_EQ(1, HoverOver(Upper(), 135.0f, 0.6f));
  Press(VK_RIGHT);
  EXPECT_EQ(2, Upper()->GetSelectedSlice());
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  HoverOver(Upper(), 135.0f, 1.3f);
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(2, Upper()->GetSelectedSlice());
  // The pointer's slice goes back when the pointer leaves the window.
  ASSERT_EQ(1, HoverOver(Lower(), 180.0f, 0.5f));
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  EXPECT_FALSE(StopTimer());

  // The focus leaving a chart puts its slice back; a click on a chart gives it the focus.
  Press(VK_END);
  ASSERT_EQ(3, Upper()->GetSelectedSlice());
  Press(VK_TAB);
  EXPECT_EQ(1, FocusedChart());
  EXPECT_EQ(-1, Upper()->GetSelectedSlice());
  SetFocus(GetDlgItem(window_, IdRegen));
  const LPARAM onUpper = PointOnChart(Upper(), 60.0f, 0.5f);
  MoveMouse(onUpper);
  SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, onUpper);
  EXPECT_EQ(0, FocusedChart());
}

// The focus rectangle's pixel runs around a chart, as the window's own pixels show them.
std::string FocusRectangleOf(HWND window, IPieChart* chart, float scale) {
  UpdateWindow(window);
  const D2D1_RECT_F rectangle{chart->GetLeft(), chart->GetTop(),
                              chart->GetLeft() + chart->GetWidth(),
                              chart->GetTop() + chart->GetHeight()};
  return FocusLinesAround(ClientShot::OfWindowDc(window), scale, rectangle);
}

TEST_F(KeyboardTest, FocusCuesAndTheTooltipBesideItsSliceFollowAChangeOfDpi) {
  FocusUpperChart();
  SendMessageW(window_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(kNoFocusLines, FocusRectangleOf(window_, Upper(), PixelsPerDip()))
      << "focus cues hidden";
  Press(VK_RIGHT);  // the keyboard shows them again
  TickAfter(0.1f);
  EXPECT_EQ("Slice 1 of 4: 40 (25.0%)", TooltipText());
  EXPECT_EQ("", TooltipBesideSlice(0));

  const LONG before = win32::DescriptionOf(win32::FontOf(Tooltip())).lfHeight;
  const int dpi = static_cast<int>(std::lround(App().MainWindow->GetDpi()));
  const RECT suggested = SuggestedWindowRect(window_, dpi * 3 / 2);
  SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_NEAR(before * 1.5, win32::DescriptionOf(win32::FontOf(Tooltip())).lfHeight, 1.0);
  EXPECT_EQ("", TooltipBesideSlice(0)) << "at " << App().MainWindow->GetDpi() << " DPI";
  const std::string lines = FocusRectangleOf(window_, Upper(), PixelsPerDip());
  EXPECT_EQ("", FocusRectangleProblems(lines)) << lines;
  Press(VK_END);
  EXPECT_EQ("Slice 4 of 4: 40 (25.0%)", TooltipText());
}

TEST_F(KeyboardTest, ThePointersTooltipStandsBelowItAndEveryTooltipHidesWithItsSlice) {
  ASSERT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
  EXPECT_EQ("Slice 3 of 3: 30 (33.3%)", TooltipText());
  POINT pointer{};
  GetCursorPos(&pointer);
  EXPECT_NEAR(pointer.x, win32::WindowBounds(Tooltip()).left, 2);
  EXPECT_GT(win32::WindowBounds(Tooltip()).top, pointer.y);
  EXPECT_EQ(GetSysColor(COLOR_INFOBK),
            static_cast<COLORREF>(SendMessageW(Tooltip(), TTM_GETTIPBKCOLOR, 0, 0)));

  // Hidden when the slice goes back, when the window is deactivated or minimised, on "Regen".
  std::string shown;
  const RECT client = win32::ClientBounds(window_);
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"back", [&] { HoverOver(Lower(), 300.0f, 1.5f); }},
      {"deactivated", [&] { SendMessageW(window_, WM_ACTIVATE, WA_INACTIVE, 0); }},
      {"minimised", [&] { SendMessageW(window_, WM_SIZE, SIZE_MINIMIZED, 0); }},
      {"Regen", [&] {
         Regen({40, 40, 40, 40}, 4, {30, 30, 30}, 0);
       }}};
  for (const auto& [what, action] : cases) {
    SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    HoverOver(Lower(), 300.0f, 1.5f);
    HoverOver(Lower(), 300.0f, 0.5f);
    action();
    if (TooltipText() != "(hidden)") shown += std::string(what) + "; ";
  }
  EXPECT_EQ("", shown) << "the tooltip still shows after these";

  // UI Automation's selection shows it too.
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  PackRequest({AutomationRequest::Kind::Select, 1, Lower()->GetValuesGeneration(), 1}, wParam,
              lParam);
  SendMessageW(window_, TreeRequestMessage, wParam, lParam);
  EXPECT_EQ("Slice 2 of 3: 30 (33.3%)", TooltipText());
}

}  // namespace
}  // namespace apptest
