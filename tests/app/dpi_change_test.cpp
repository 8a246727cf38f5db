// The real main window when its DPI changes, as WM_DPICHANGED tells it on a monitor of another
// scaling. Wine never sends the message, so the tests send it as the system would.

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "app/render_pass.h"
#include "tests/app/app_fixture.h"
#include "tests/app/dpi_suggestion.h"
#include "window/round_half_even.h"

namespace apptest {
namespace {

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

LOGFONTW DescriptionOf(HFONT font) {
  LOGFONTW description{};
  GetObjectW(font, sizeof(description), &description);
  return description;
}

// A control's rectangle in its parent's client pixels.
RECT PlaceOf(HWND control) {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

std::string Describe(const RECT& r) {
  std::ostringstream text;
  text << "(" << r.left << ", " << r.top << ") sized " << r.right - r.left << " x "
       << r.bottom - r.top;
  return text.str();
}

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class DpiChange : public AppTest {
 protected:
  RECT Suggestion(UINT dpi) const { return SuggestedWindowRect(window_, dpi); }

  LRESULT SendDpiChanged(UINT dpi, const RECT* suggested) const {
    return SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                        reinterpret_cast<LPARAM>(suggested));
  }

  // Everything that a change to dpi must have done, as sentences; empty when all is right.
  std::string ProblemsAt(UINT dpi, const RECT& suggested, HFONT oldFont) const {
    std::ostringstream problems;
    RECT frame{};
    GetWindowRect(window_, &frame);
    if (!(frame == suggested)) {
      problems << "window at " << Describe(frame) << ", suggested " << Describe(suggested) << "; ";
    }
    if (App().MainWindow->GetDpi() != static_cast<float>(dpi)) {
      problems << "window object at " << App().MainWindow->GetDpi() << " DPI; ";
    }
    const double scale = dpi / 96.0;
    const auto pixels = [&](INT32 logical) { return orb::RoundHalfEven(logical * scale); };
    for (const ControlPlace& place : {RegenPlace, GrayPlace}) {
      const RECT expected{pixels(place.x), pixels(place.y), pixels(place.x) + pixels(place.width),
                          pixels(place.y) + pixels(place.height)};
      const RECT actual = PlaceOf(GetDlgItem(window_, place.id));
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
    if (const auto& target = App().WindowRenderTarget) {
      float dpiX = 0;
      float dpiY = 0;
      target->GetDpi(&dpiX, &dpiY);
      if (dpiX != static_cast<float>(dpi) || dpiY != static_cast<float>(dpi)) {
        problems << "render target at " << dpiX << " x " << dpiY << " DPI; ";
      }
    }
    RECT client{};
    GetClientRect(window_, &client);
    const float widthInDips = static_cast<float>(client.right / scale);
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
  float dpiX = 0;
  float dpiY = 0;
  App().WindowRenderTarget->GetDpi(&dpiX, &dpiY);
  EXPECT_EQ(App().MainWindow->GetDpi(), dpiX);
  EXPECT_EQ(App().MainWindow->GetDpi(), dpiY);
  EXPECT_EQ(-MulDiv(9, static_cast<int>(startDpi_), 72),
            DescriptionOf(FontOf(GetDlgItem(window_, IdGray))).lfHeight);
}

TEST_F(DpiChange, EveryStepRescalesWindowControlsFontTargetAndCharts) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const std::vector<UINT> steps = {144, startDpi_ == 96 ? 120u : 96u, 192, startDpi_};
  for (int round = 0; round < 10; ++round) {
    for (const UINT dpi : steps) {
      const RECT suggested = Suggestion(dpi);
      const HFONT oldFont = FontOf(GetDlgItem(window_, IdRegen));
      ForgetRepaint();
      EXPECT_EQ(0, SendDpiChanged(dpi, &suggested));
      const std::string problems = ProblemsAt(dpi, suggested, oldFont);
      ASSERT_EQ("", problems) << "at " << dpi << " DPI, round " << round;

      // Hover hit testing at the new scale: onto slice 1 of the upper chart, then out of its
      // ellipse. PointOnChart turns device-independent units into pixels at the new DPI.
      MoveMouse(PointOnChart(Upper(), 135.0f, 0.6f));
      EXPECT_EQ(1, Upper()->GetSelectedSlice()) << dpi;
      MoveMouse(PointOnChart(Upper(), 135.0f, 1.2f));
      EXPECT_EQ(-1, Upper()->GetSelectedSlice()) << dpi;
      StopTimer();
      // The frame is drawn at the new size.
      UpdateWindow(window_);
      RECT client{};
      GetClientRect(window_, &client);
      ASSERT_TRUE(App().WindowRenderTarget);
      EXPECT_EQ(static_cast<UINT32>(client.right), App().WindowRenderTarget->GetPixelSize().width);
    }
  }
  // Wine reports no GDI objects; where the count is kept, forty changes leave it as it was.
  if (gdiBefore > 0) {
    EXPECT_EQ(gdiBefore, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  }
}

TEST_F(DpiChange, ATargetMadeAfterTheChangeTakesTheNewDpi) {
  const RECT suggested = Suggestion(144);
  SendDpiChanged(144, &suggested);
  // As after a lost device: the new render target is made at the window's DPI, not the system's.
  DiscardAllDeviceResources();
  ASSERT_EQ(S_OK, RenderCharts(window_));
  float dpiX = 0;
  float dpiY = 0;
  App().WindowRenderTarget->GetDpi(&dpiX, &dpiY);
  EXPECT_EQ(144.0f, dpiX);
  EXPECT_EQ(144.0f, dpiY);
  MoveMouse(PointOnChart(Lower(), 300.0f, 0.5f));
  EXPECT_EQ(2, Lower()->GetSelectedSlice());
}

TEST_F(DpiChange, WithoutASuggestionTheWindowKeepsItsRectangle) {
  RECT before{};
  GetWindowRect(window_, &before);
  const HFONT oldFont = FontOf(GetDlgItem(window_, IdRegen));
  ForgetRepaint();
  EXPECT_EQ(0, SendDpiChanged(144, nullptr));
  EXPECT_EQ("", ProblemsAt(144, before, oldFont));
}

}  // namespace
}  // namespace apptest
