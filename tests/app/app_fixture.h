#pragma once
// Drives the real application in this process: the real window and Direct2D (the stand-in under
// Wine), with a scripted random source and a clock the test sets.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "app/app_state.h"
#include "helpers/win32.h"

namespace apptest {

// Answers queued units in order, then 0.
class ScriptedRandom final : public RandomSource {
 public:
  double NextUnit() override;
  // Queues the unit that RandomInteger(first, last) turns into value.
  void QueueInteger(int value, int first, int last);
  // Queues one chart's draws: the count, every value, then the palette index.
  void QueueChart(const std::vector<int>& values, int palette);

 private:
  std::deque<double> units_;
};

// The clock the application reads; tests set it.
extern float FakeTime;
float FakeClock();

// The real platform with the fake clock and the given random source.
AppPlatform ScriptedPlatform(RandomSource& random);

// Starts the application on platform and shows its main window; null when it did not start.
HWND StartAndShow(const AppPlatform& platform);
// Destroys the main window, if it still exists, and releases the application's objects.
void CloseAndRelease(HWND window);

using win32::PumpMessages;

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Regenerates through the "Regen" button's command with the charts queued first.
  void Regen(const std::vector<int>& upper, int upperPalette, const std::vector<int>& lower,
             int lowerPalette, WORD notification = BN_CLICKED);

  std::wstring Caption() const { return win32::TextOf(window_); }
  // Device pixels per device-independent unit of the render target (the screen's DPI / 96).
  float PixelsPerDip() const { return App().MainWindow->GetDpi() / 96.0f; }
  // The point at angle degrees (0 straight down, growing counter-clockwise on screen) and
  // fraction of the radii from the chart's centre, in device-independent units.
  static D2D1_POINT_2F PointAt(IPieChart* chart, float degrees, float fraction);
  // lParam of a mouse move onto that point.
  LPARAM PointOnChart(IPieChart* chart, float degrees, float fraction) const;
  // Moves the mouse onto that point and answers the chart's selected slice then.
  INT32 HoverOver(IPieChart* chart, float degrees, float fraction) const;
  // The slice that the chart's hit test finds at that point.
  static INT32 HitAt(IPieChart* chart, float degrees, float fraction);
  // The pointer moved onto point (client pixels): the real one too, so that the window sees it
  // there when it asks (no leave, a tooltip below it).
  void MoveMouse(LPARAM point) const;
  void Tick() const { SendMessageW(window_, WM_TIMER, ExplodeTimerId, 0); }
  // Moves the clock on by seconds, then lets the timer tick.
  void TickAfter(float seconds) const {
    FakeTime += seconds;
    Tick();
  }
  bool RepaintRequested() const { return GetUpdateRect(window_, nullptr, FALSE) != 0; }
  void ForgetRepaint() const { ValidateRect(window_, nullptr); }
  // Starts the explode timer, and stops it; true when it was running.
  void StartTimer() const { SetTimer(window_, ExplodeTimerId, ExplodeTimerPeriodMs, nullptr); }
  bool StopTimer() const { return KillTimer(window_, ExplodeTimerId) != 0; }

  IPieChart* Upper() const { return App().UpperChart.Get(); }
  IPieChart* Lower() const { return App().LowerChart.Get(); }
  IPalette* PaletteOf(IPieChart* chart) const;

  ScriptedRandom random_;
  // UI Automation's side and the contrast setting, when a test puts its own in place of the
  // system's before start.
  AutomationHost* automationHost_ = nullptr;
  bool (*highContrast_)() = nullptr;
  HWND window_ = nullptr;
  LONG liveBefore_ = 0;
};

}  // namespace apptest
