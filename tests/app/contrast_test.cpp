// A contrast theme, in the program's window: the setting through the program's seam (Wine always
// reports it off), the theme's colours set for real in the system, and put back whatever
// happens. The background, the outlines along every slice's boundary, the selected slice's
// highlight, and today's picture again once the theme is off.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>

#include "app/render_pass.h"
#include "chart/degrees.h"
#include "tests/app/app_fixture.h"
#include "tests/app/screen_capture.h"

namespace apptest {
namespace {

// The seam: the setting as the test gives it, and how often the program read it.
bool contrastOn = false;
int contrastReads = 0;
bool FakeHighContrast() {
  ++contrastReads;
  return contrastOn;
}

// A black, white and yellow theme's colours in the system for as long as it lives; the ones
// before are put back whatever happens. The system tells the windows (WM_SYSCOLORCHANGE).
class ThemeColours {
 public:
  ThemeColours() {
    for (size_t i = 0; i < kElements.size(); ++i) before_[i] = GetSysColor(kElements[i]);
    const std::array<COLORREF, 3> theme{RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0)};
    changed_ = SetSysColors(static_cast<int>(kElements.size()), kElements.data(), theme.data());
  }
  ~ThemeColours() {
    SetSysColors(static_cast<int>(kElements.size()), kElements.data(), before_.data());
  }
  ThemeColours(const ThemeColours&) = delete;
  ThemeColours& operator=(const ThemeColours&) = delete;
  bool Changed() const { return changed_ != FALSE; }

 private:
  static constexpr std::array<INT, 3> kElements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT};
  std::array<COLORREF, 3> before_{};
  BOOL changed_ = FALSE;
};

class ContrastTheme : public AppTest {
 protected:
  ContrastTheme() {
    contrastOn = false;
    contrastReads = 0;
    highContrast_ = FakeHighContrast;
  }

  // The picture as the window shows it once it has handled everything.
  ClientShot Shown() const {
    PumpMessages();
    UpdateWindow(window_);
    return ClientShot::OfWindowDc(window_);
  }

  // The same picture drawn whole by a render target made afresh.
  ClientShot DrawnAfresh() const {
    DiscardAllDeviceResources();
    EnsureDeviceResources(window_);
    RenderCharts(window_);
    return ClientShot::OfWindowDc(window_);
  }

  // What is wrong at the point at degrees and fraction of chart's radii, moved as far as the
  // selected slice is out when moved is true: no pixel within one of it is like colour.
  std::string NotThere(const ClientShot& shot, IPieChart* chart, float degrees, float fraction,
                       bool moved, bool (*like)(const Pixel&), const char* colour) const {
    D2D1_POINT_2F point = PointAt(chart, degrees, fraction);
    if (moved) {
      PieSlice slice{};
      chart->GetSlice(chart->GetSelectedSlice(), &slice);
      const float middle = (slice.startDegrees + slice.endDegrees) / 2.0f * kDegreesToRadians;
      const float shortAxis = chart->GetRadiusY() < chart->GetRadiusX()
                                  ? chart->GetRadiusY() / chart->GetRadiusX()
                                  : 1.0f;
      point.x += 20.0f * std::sin(middle);
      point.y += 20.0f * shortAxis * std::cos(middle);
    }
    const int x = static_cast<int>(std::lround(point.x * PixelsPerDip()));
    const int y = static_cast<int>(std::lround(point.y * PixelsPerDip()));
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (like(shot.At(x + dx, y + dy))) return "";
      }
    }
    std::ostringstream problem;
    problem << "no " << colour << " near " << degrees << " degrees, " << fraction
            << " of the radii (" << shot.At(x, y) << " at " << x << ", " << y << "); ";
    return problem.str();
  }
};

bool White(const Pixel& p) { return p.red > 200 && p.green > 200 && p.blue > 200; }
bool Yellow(const Pixel& p) { return p.red > 200 && p.green > 200 && p.blue < 60; }

TEST_F(ContrastTheme, OutlinesEverySliceHighlightsTheSelectedOneAndGivesBackTodaysPicture) {
  EXPECT_EQ(1, contrastReads) << "read once at start";
  const ClientShot today = Shown();
  // Every other setting and every frame leave it unread.
  SendMessageW(window_, WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION, 0);
  InvalidateRect(window_, nullptr, FALSE);
  Shown();
  EXPECT_EQ(1, contrastReads);

  {
    contrastOn = true;
    const ThemeColours theme;
    ASSERT_TRUE(theme.Changed()) << "the system's colours could not be set";
    SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
    const int readsAfterChange = contrastReads;
    EXPECT_GE(readsAfterChange, 2) << "WM_SYSCOLORCHANGE read the setting";
    // The lower chart's slice 1 of 3 (120 to 240 degrees) out, in the theme's colours.
    MoveMouse(PointOnChart(Lower(), 180.0f, 0.5f));
    TickAfter(0.1f);
    const ClientShot shot = Shown();
    std::ostringstream problems;
    if (shot.At(shot.Width() - 2, shot.Height() / 2) != Pixel{0, 0, 0}) {
      problems << "the background is " << shot.At(shot.Width() - 2, shot.Height() / 2) << "; ";
    }
    // Every boundary and rim of both charts outlined, the selected slice's in the highlight.
    for (const float degrees : {0.0f, 90.0f, 180.0f, 270.0f}) {
      problems << NotThere(shot, Upper(), degrees, 0.5f, false, White, "white outline")
               << NotThere(shot, Upper(), degrees + 45.0f, 1.0f, false, White, "white rim");
    }
    problems << NotThere(shot, Lower(), 0.0f, 0.5f, false, White, "white outline")
             << NotThere(shot, Lower(), 60.0f, 1.0f, false, White, "white rim")
             << NotThere(shot, Lower(), 300.0f, 1.0f, false, White, "white rim")
             << NotThere(shot, Lower(), 120.0f, 0.5f, true, Yellow, "yellow highlight")
             << NotThere(shot, Lower(), 240.0f, 0.5f, true, Yellow, "yellow highlight")
             << NotThere(shot, Lower(), 180.0f, 1.0f, true, Yellow, "yellow rim");
    EXPECT_EQ("", problems.str()) << SavedForDiagnosis(shot, "contrast");
    EXPECT_TRUE(SamePictures(shot, "shown", DrawnAfresh(), "drawn afresh"));

    // The setting itself changing is read too; nothing else is.
    SendMessageW(window_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(readsAfterChange + 1, contrastReads);
    contrastOn = false;
  }  // the colours back, which the system tells the window
  SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
  MoveMouse(PointOnChart(Lower(), 180.0f, 1.5f));
  const ClientShot after = Shown();
  EXPECT_TRUE(SamePictures(after, "after the theme", today, "before it"));
  EXPECT_TRUE(SamePictures(after, "after the theme", DrawnAfresh(), "drawn afresh"));
}

}  // namespace
}  // namespace apptest
