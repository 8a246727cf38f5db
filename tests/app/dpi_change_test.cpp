// The real main window when its DPI changes, as WM_DPICHANGED tells it on a monitor of another
// scaling. Wine never sends the message, so the tests send it as the system would.

#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

#include "app/render_pass.h"
#include "tests/app/app_fixture.h"
#include "tests/app/dpi_suggestion.h"
#include "tests/support/records.h"

namespace apptest {
namespace {

using win32::Describe;
using win32::DescriptionOf;
using win32::FontOf;

class DpiChange : public AppTest {
 protected:
  RECT Suggestion(UINT dpi) const { return SuggestedWindowRect(window_, dpi); }
  // Four changes that pass through every DPI the tests use and end where the window started.
  std::vector<UINT> Steps() const { return {144, startDpi_ == 96 ? 120u : 96u, 192, startDpi_}; }

  LRESULT SendDpiChanged(UINT dpi, const RECT* suggested) const {
    return SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                        reinterpret_cast<LPARAM>(suggested));
  }

  // The render target's horizontal and vertical DPI.
  static std::pair<float, float> TargetDpi() {
    std::pair<float, float> dpi{0.0f, 0.0f};
    App().WindowRenderTarget->GetDpi(&dpi.first, &dpi.second);
    return dpi;
  }

  // Everything that a change to dpi must have done, as sentences; empty when all is right.
  std::string ProblemsAt(UINT dpi, const RECT& suggested, HFONT oldFont) const {
    std::ostringstream problems;
    const RECT frame = win32::WindowBounds(window_);
    if (!(frame == suggested)) {
      problems << "window at " << Describe(frame) << ", suggested " << Describe(suggested) << "; ";
    }
    if (App().MainWindow->GetDpi() != static_cast<float>(dpi)) {
      problems << "window object at " << App().MainWindow->GetDpi() << " DPI; ";
    }
    for (const ControlPlace& place : {RegenPlace, GrayPlace}) {
      const RECT expected = ControlRectAt(place, dpi);
      const RECT actual = win32::ChildBounds(GetDlgItem(window_, place.id));
      if (!(actual == expected)) {
        problems << "control " << place.id << " at " << Describe(actual) << ", expected "
                 << Describe(expected) << "; ";
      }
    }
    const HFONT font = FontOf(GetDlgItem(window_, IdRegen));
    const LOGFONTW description = DescriptionOf(font);
    if (FontOf(GetDlgItem(window_, IdGray)) != font) problems << "the controls' fonts differ; ";
    if (description.lfHeight != -MulDiv(9, static_cast<int>(dpi), 72)) {
      problems << "font height " << description.lfHeight << "; ";
    }
    if (std::wstring(description.lfFaceName) != faceName_) problems << "another font face; ";
    if (font == oldFont || GetObjectType(oldFont) != 0) problems << "the old font lives on; ";
    const std::pair<float, float> atDpi(static_cast<float>(dpi), static_cast<float>(dpi));
    if (App().WindowRenderTarget && TargetDpi() != atDpi) {
      problems << "render target at " << TargetDpi().first << " x " << TargetDpi().second
               << " DPI; ";
    }
    const float widthInDips = static_cast<float>(win32::ClientBounds(window_).right / (dpi / 96.0));
    for (IPieChart* chart : {Upper(), Lower()}) {
      const float centred = (widthInDips - chart->GetWidth()) / 2.0f;
      if (std::fabs(chart->GetLeft() - centred) > 0.01f) {
        problems << "a chart's left edge at " << chart->GetLeft() << ", centred is " << centred
                 << "; ";
      }
    }
    if (Upper()->GetWidth() != 400.0f || Lower()->GetWidth() != 300.0f) {
      problems << "a chart changed its size in device-independent units; ";
    }
    if (!RepaintRequested()) problems << "no repaint was requested; ";
    return problems.str();
  }

  void SetUp() override {
    AppTest::SetUp();
    if (HasFatalFailure()) return;
    faceName_ = DescriptionOf(FontOf(GetDlgItem(window_, IdRegen))).lfFaceName;
    startDpi_ = static_cast<UINT>(App().MainWindow->GetDpi());
  }

  std::wstring faceName_;
  UINT startDpi_ = 96;
};

TEST_F(DpiChange, TheWindowStartsAtItsMonitorsDpi) {
  EXPECT_EQ(App().MainWindow->QueryWindowDpi(), App().MainWindow->GetDpi());
  ASSERT_EQ(S_OK, RenderCharts(window_));
  const float dpi = App().MainWindow->GetDpi();
  EXPECT_EQ(std::make_pair(dpi, dpi), TargetDpi());
  EXPECT_EQ(-MulDiv(9, static_cast<int>(startDpi_), 72),
            DescriptionOf(FontOf(GetDlgItem(window_, IdGray))).lfHeight);
}

TEST_F(DpiChange, EveryStepRescalesWindowControlsFontTargetAndCharts) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  for (int round = 0; round < 10; ++round) {
    for (const UINT dpi : Steps()) {
      const RECT suggested = Suggestion(dpi);
      const HFONT oldFont = FontOf(GetDlgItem(window_, IdRegen));
      ForgetRepaint();
      EXPECT_EQ(0, SendDpiChanged(dpi, &suggested));
      const std::string problems = ProblemsAt(dpi, suggested, oldFont);
      ASSERT_EQ("", problems) << "at " << dpi << " DPI, round " << round;

      // Hover hit testing at the new scale: onto slice 1 of the upper chart, then out of its
      // ellipse. PointOnChart turns device-independent units into pixels at the new DPI.
      EXPECT_EQ(1, HoverOver(Upper(), 135.0f, 0.6f)) << dpi;
      EXPECT_EQ(-1, HoverOver(Upper(), 135.0f, 1.2f)) << dpi;
      StopTimer();
      // The frame is drawn at the new size.
      UpdateWindow(window_);
      ASSERT_TRUE(App().WindowRenderTarget);
      EXPECT_EQ(static_cast<UINT32>(win32::ClientBounds(window_).right),
                App().WindowRenderTarget->GetPixelSize().width);
    }
  }
}

// Where the system counts GDI objects; Wine does not, and the test says so.
TEST_F(DpiChange, FortyChangesLeaveTheGdiObjectCountAsItWas) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  const DWORD gdiBefore = win32::GdiObjectCount();
  if (gdiBefore == 0) GTEST_SKIP() << win32::kNoGdiCount;
  for (int round = 0; round < 10; ++round) {
    for (const UINT dpi : Steps()) {
      const RECT suggested = Suggestion(dpi);
      ASSERT_EQ(0, SendDpiChanged(dpi, &suggested)) << dpi;
      UpdateWindow(window_);
    }
  }
  EXPECT_EQ(gdiBefore, win32::GdiObjectCount());
}

TEST_F(DpiChange, ATargetMadeAfterTheChangeTakesTheNewDpi) {
  const RECT suggested = Suggestion(144);
  SendDpiChanged(144, &suggested);
  // As after a lost device: the new render target is made at the window's DPI, not the system's.
  DiscardAllDeviceResources();
  ASSERT_EQ(S_OK, RenderCharts(window_));
  EXPECT_EQ(std::make_pair(144.0f, 144.0f), TargetDpi());
  EXPECT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
}

TEST_F(DpiChange, WithoutASuggestionTheWindowKeepsItsRectangle) {
  const RECT before = win32::WindowBounds(window_);
  const HFONT oldFont = FontOf(GetDlgItem(window_, IdRegen));
  ForgetRepaint();
  EXPECT_EQ(0, SendDpiChanged(144, nullptr));
  EXPECT_EQ("", ProblemsAt(144, before, oldFont));
}

}  // namespace
}  // namespace apptest
