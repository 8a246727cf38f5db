// The charts within reach of the keyboard, in process: the Tab order through the dialog manager
// as the message loop uses it, the keys that move slices, the focus rectangle's pixels, the
// pointer leaving the window, and the tooltip of the slice that is out.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/app_fixture.h"
#include "tests/app/dpi_suggestion.h"
#include "tests/app/focus_lines.h"
#include "palette/irenderable.h"
#include "tests/app/screen_capture.h"
#include "uia/accessible_tree.h"

namespace apptest {
namespace {

class KeyboardTest : public AppTest {
 protected:
  // Presses key (with Shift held, or not) as the program's message loop would get it: the
  // dialog manager first, then the window that has the focus.
  void Press(WPARAM key, bool shift = false) const {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  // Where the keyboard focus is: "Regen", "Gray", "upper chart", "lower chart", "window".
  std::string Focus() const {
    const HWND focus = GetFocus();
    if (focus == GetDlgItem(window_, IdRegen)) return "Regen";
    if (focus == GetDlgItem(window_, IdGray)) return "Gray";
    if (focus != window_) return "elsewhere";
    const int chart = FocusedChart();
    return chart == 0 ? "upper chart" : chart == 1 ? "lower chart" : "window";
  }

  // The upper chart focused from "Gray", as a keyboard user gets there.
  void FocusUpperChart() const {
    SetFocus(GetDlgItem(window_, IdGray));
    Press(VK_TAB);
    ASSERT_EQ("upper chart", Focus());
  }

  HWND Tooltip() const { return App().Tooltip.window; }

  // What is wrong with where the tooltip stands beside slice of the upper chart, once the slice
  // is fully out: it covers none of the slice, and its nearest edge is within 30 units of the
  // slice's drawn rectangle.
  std::string TooltipBesideSlice(INT32 index) const {
    const float scale = PixelsPerDip();
    RECT pixels = win32::WindowBounds(Tooltip());
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&pixels), 2);
    // The tooltip in device-independent units, its last pixels' inner edges as its right and
    // bottom.
    const D2D1_RECT_F tip{static_cast<float>(pixels.left) / scale,
                          static_cast<float>(pixels.top) / scale,
                          static_cast<float>(pixels.right - 1) / scale,
                          static_cast<float>(pixels.bottom - 1) / scale};
    std::ostringstream problems;
    for (int i = 0; i <= 4; ++i) {
      for (int j = 0; j <= 4; ++j) {
        const float x = tip.left + (tip.right - tip.left) * static_cast<float>(i) / 4.0f;
        const float y = tip.top + (tip.bottom - tip.top) * static_cast<float>(j) / 4.0f;
        orb::ComPtr<IRenderable> chart;
        Upper()->QueryInterface(IID_PPV_ARGS(&chart));
        if (chart->HitTest(x, y, App().D2DHelper->MakeIdentityMatrix()) == index) {
          problems << "covers the slice at (" << x << ", " << y << "); ";
        }
      }
    }
    PieSlice slice{};
    Upper()->GetSlice(index, &slice);
    const float gapX = std::max(tip.left - slice.bounds.right, slice.bounds.left - tip.right);
    const float gapY = std::max(tip.top - slice.bounds.bottom, slice.bounds.top - tip.bottom);
    if (std::max(gapX, gapY) > 30.0f)
      problems << "stands " << std::max(gapX, gapY) << " units off; ";
    return problems.str();
  }
  bool TooltipShown() const { return Tooltip() != nullptr && IsWindowVisible(Tooltip()); }
  // What the tooltip shows, as it answers WM_GETTEXT; "(hidden)" while it is hidden.
  std::string TooltipText() const {
    wchar_t text[128] = {};
    if (!TooltipShown()) return "(hidden)";
    SendMessageW(Tooltip(), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return win32::Narrow(text);
  }
};

TEST_F(KeyboardTest, TabGoesRegenGrayUpperChartLowerChartAndShiftTabBack) {
  SetFocus(GetDlgItem(window_, IdRegen));
  std::vector<std::string> forwards{Focus()};
  for (int i = 0; i < 4; ++i) {
    Press(VK_TAB);
    forwards.push_back(Focus());
  }
  EXPECT_EQ((std::vector<std::string>{"Regen", "Gray", "upper chart", "lower chart", "Regen"}),
            forwards);
  std::vector<std::string> backwards{Focus()};
  for (int i = 0; i < 4; ++i) {
    Press(VK_TAB, true);
    backwards.push_back(Focus());
  }
  EXPECT_EQ((std::vector<std::string>{"Regen", "lower chart", "upper chart", "Gray", "Regen"}),
            backwards);
  EXPECT_EQ(-1, Upper()->GetSelectedSlice()) << "focusing a chart moves no slice";
  EXPECT_EQ(-1, Lower()->GetSelectedSlice()) << "focusing a chart moves no slice";
}

TEST_F(KeyboardTest, ArrowsHomeEndAndEscMoveTheFocusedChartsSlices) {
  FocusUpperChart();
  // The upper chart has four slices; each key's slice, or -1 for none out.
  const std::pair<WPARAM, INT32> steps[] = {
      {VK_RIGHT, 0}, {VK_DOWN, 1},    {VK_END, 3},  {VK_RIGHT, 0},   {VK_LEFT, 3}, {VK_UP, 2},
      {VK_HOME, 0},  {VK_ESCAPE, -1}, {VK_LEFT, 3}, {VK_ESCAPE, -1}, {VK_UP, 3}};
  std::ostringstream problems;
  for (const auto& [key, slice] : steps) {
    Press(key);
    if (Upper()->GetSelectedSlice() != slice) {
      problems << "key " << key << " left slice " << Upper()->GetSelectedSlice() << ", not "
               << slice << "; ";
    }
  }
  EXPECT_EQ("", problems.str());
  EXPECT_EQ("upper chart", Focus()) << "Esc keeps the focus on the chart and the window open";
  EXPECT_TRUE(IsWindow(window_));

  // Out as on hover: from offset 0 with the timer, in a tenth of a second.
  EXPECT_EQ(0, Upper()->GetExplodeOffset());
  TickAfter(0.1f);
  EXPECT_EQ(20, Upper()->GetExplodeOffset());
  EXPECT_FALSE(StopTimer());

  // The other chart's slice goes when the keyboard moves one out.
  EXPECT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
  EXPECT_EQ(-1, Upper()->GetSelectedSlice());
  Press(VK_RIGHT);
  EXPECT_EQ(0, Upper()->GetSelectedSlice());
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
}

TEST_F(KeyboardTest, ThePointersSliceLeadsTheArrowsAndOnlyThePointersGoesWhenItLeaves) {
  FocusUpperChart();
  // The arrows go on from the slice that the pointer moved out.
  ASSERT_EQ(1, HoverOver(Upper(), 135.0f, 0.6f));
  Press(VK_RIGHT);
  EXPECT_EQ(2, Upper()->GetSelectedSlice());
  // The keyboard's slice stays when the pointer leaves the ellipse or the window.
  HoverOver(Upper(), 135.0f, 1.3f);
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(2, Upper()->GetSelectedSlice());
  // The pointer's slice goes back when the pointer leaves the window, wherever it was.
  ASSERT_EQ(1, HoverOver(Lower(), 180.0f, 0.5f));
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  EXPECT_FALSE(StopTimer());
}

TEST_F(KeyboardTest, FocusLeavingAChartPutsItsSliceBack) {
  FocusUpperChart();
  Press(VK_END);
  ASSERT_EQ(3, Upper()->GetSelectedSlice());
  Press(VK_TAB);
  EXPECT_EQ("lower chart", Focus());
  EXPECT_EQ(-1, Upper()->GetSelectedSlice());
  Press(VK_HOME);
  ASSERT_EQ(0, Lower()->GetSelectedSlice());
  Press(VK_TAB);
  EXPECT_EQ("Regen", Focus());
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());

  // A click on a chart gives it the focus.
  const LPARAM onLower = PointOnChart(Lower(), 60.0f, 0.5f);
  MoveMouse(onLower);
  SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, onLower);
  EXPECT_EQ("lower chart", Focus());
  EXPECT_EQ(0, Lower()->GetSelectedSlice()) << "the pointer's slice";
}

// The focus rectangle's pixel runs around a chart, as the window's own pixels show them.
std::string FocusRectangleOf(HWND window, IPieChart* chart, float scale) {
  UpdateWindow(window);
  const D2D1_RECT_F rectangle{chart->GetLeft(), chart->GetTop(),
                              chart->GetLeft() + chart->GetWidth(),
                              chart->GetTop() + chart->GetHeight()};
  return FocusLinesAround(ClientShot::OfWindowDc(window), scale, rectangle);
}

TEST_F(KeyboardTest, TheFocusedChartShowsTwoContrastingLinesUnlessFocusCuesAreHidden) {
  const float scale = PixelsPerDip();
  EXPECT_EQ(kNoFocusLines, FocusRectangleOf(window_, Upper(), scale))
      << "no chart has the focus yet";
  FocusUpperChart();
  const std::string upper = FocusRectangleOf(window_, Upper(), scale);
  EXPECT_EQ("", FocusRectangleProblems(upper)) << upper;
  Press(VK_TAB);
  EXPECT_EQ(kNoFocusLines, FocusRectangleOf(window_, Upper(), scale));
  const std::string lower = FocusRectangleOf(window_, Lower(), scale);
  EXPECT_EQ("", FocusRectangleProblems(lower)) << lower;

  // Hidden as standard controls hide theirs, and shown again by the keyboard.
  SendMessageW(window_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(kNoFocusLines, FocusRectangleOf(window_, Lower(), scale));
  Press(VK_RIGHT);
  EXPECT_EQ("", FocusRectangleProblems(FocusRectangleOf(window_, Lower(), scale)));
}

TEST_F(KeyboardTest, TheTooltipNamesTheSliceThatIsOutWhoeverMovedIt) {
  FocusUpperChart();
  EXPECT_FALSE(TooltipShown()) << "focusing a chart shows no tooltip";
  Press(VK_RIGHT);
  EXPECT_EQ("Slice 1 of 4: 40 (25.0%)", TooltipText());
  // Just outside the slice's rim at its middle angle (45 degrees: down and to the right).
  TickAfter(0.1f);
  EXPECT_EQ("", TooltipBesideSlice(0));

  // The pointer's tooltip stands below the pointer.
  ASSERT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
  EXPECT_EQ("Slice 3 of 3: 30 (33.3%)", TooltipText());
  POINT pointer{};
  GetCursorPos(&pointer);
  EXPECT_NEAR(pointer.x, win32::WindowBounds(Tooltip()).left, 2);
  EXPECT_GT(win32::WindowBounds(Tooltip()).top, pointer.y);

  // Hidden when the slice goes back, when the window is deactivated or minimised, on "Regen".
  std::vector<std::string> hidden;
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"back", [&] { HoverOver(Lower(), 300.0f, 1.5f); }},
      {"deactivated", [&] { SendMessageW(window_, WM_ACTIVATE, WA_INACTIVE, 0); }},
      {"minimised", [&] { SendMessageW(window_, WM_SIZE, SIZE_MINIMIZED, 0); }},
      {"Regen", [&] {
         Regen({40, 40, 40, 40}, 4, {30, 30, 30}, 0);
       }}};
  const RECT client = win32::ClientBounds(window_);
  for (const auto& [what, action] : cases) {
    SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    HoverOver(Lower(), 300.0f, 1.5f);
    HoverOver(Lower(), 300.0f, 0.5f);
    if (!TooltipShown()) hidden.push_back(std::string("not shown before ") + what);
    action();
    if (TooltipShown()) hidden.push_back(std::string("shown after ") + what);
  }
  EXPECT_EQ(std::vector<std::string>{}, hidden);

  // UI Automation's selection shows it too, with the system's colours.
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  PackRequest({AutomationRequest::Kind::Select, 1, Lower()->GetValuesGeneration(), 1}, wParam,
              lParam);
  SendMessageW(window_, TreeRequestMessage, wParam, lParam);
  EXPECT_EQ("Slice 2 of 3: 30 (33.3%)", TooltipText());
  EXPECT_EQ(GetSysColor(COLOR_INFOBK),
            static_cast<COLORREF>(SendMessageW(Tooltip(), TTM_GETTIPBKCOLOR, 0, 0)));
  EXPECT_EQ(GetSysColor(COLOR_INFOTEXT),
            static_cast<COLORREF>(SendMessageW(Tooltip(), TTM_GETTIPTEXTCOLOR, 0, 0)));
}

TEST_F(KeyboardTest, TheFocusRectangleTheKeysAndTheTooltipFollowAChangeOfDpi) {
  FocusUpperChart();
  Press(VK_RIGHT);
  ASSERT_TRUE(TooltipShown());
  const LONG before = win32::DescriptionOf(win32::FontOf(Tooltip())).lfHeight;
  const int dpi = static_cast<int>(std::lround(App().MainWindow->GetDpi()));
  const RECT suggested = SuggestedWindowRect(window_, dpi * 3 / 2);
  SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_NEAR(before * 1.5, win32::DescriptionOf(win32::FontOf(Tooltip())).lfHeight, 1.0);
  TickAfter(0.1f);
  EXPECT_EQ("", TooltipBesideSlice(0)) << "at " << App().MainWindow->GetDpi() << " DPI";
  EXPECT_EQ("", FocusRectangleProblems(FocusRectangleOf(window_, Upper(), PixelsPerDip())));
  Press(VK_END);
  EXPECT_EQ("Slice 4 of 4: 40 (25.0%)", TooltipText());
}

}  // namespace
}  // namespace apptest
