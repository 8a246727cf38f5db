#include <cmath>
#include <utility>

#include "app/explode_animation.h"
#include "tests/app/app_fixture.h"
#include "tests/support/records.h"

namespace apptest {
namespace {

// The start-up charts have four equal upper slices (0-90, 90-180, ...) and three lower ones.
constexpr float UpperSlice1 = 135.0f;
constexpr float UpperSlice2 = 225.0f;

TEST_F(AppTest, HoverSelectsKeepsAndDropsPerChart) {
  ForgetRepaint();
  EXPECT_EQ(1, HoverOver(Upper(), UpperSlice1, 0.6f));
  EXPECT_EQ(0, Upper()->GetExplodeOffset());
  EXPECT_TRUE(RepaintRequested());

  // Within the selected slice nothing changes and nothing is repainted.
  ForgetRepaint();
  EXPECT_EQ(1, HoverOver(Upper(), UpperSlice1 + 20.0f, 0.8f));
  EXPECT_FALSE(RepaintRequested());

  // Straight onto the neighbour: a new selection from offset 0.
  TickAfter(0.1f);
  EXPECT_EQ(20, Upper()->GetExplodeOffset());
  EXPECT_EQ(2, HoverOver(Upper(), UpperSlice2, 0.6f));
  EXPECT_EQ(0, Upper()->GetExplodeOffset());
  EXPECT_TRUE(StopTimer());

  // Outside the ellipse the selection goes, and with it the timer.
  StartTimer();
  EXPECT_EQ(-1, HoverOver(Upper(), UpperSlice2, 1.1f));
  EXPECT_FALSE(StopTimer());
}

TEST_F(AppTest, TheGapLeftByAPulledOutSliceKeepsTheSelection) {
  MoveMouse(PointOnChart(Upper(), UpperSlice1, 0.5f));
  TickAfter(0.2f);
  ASSERT_EQ(20, Upper()->GetExplodeOffset());
  // Near the centre along slice 1's bisector no slice is drawn any more.
  const LPARAM gap = PointOnChart(Upper(), UpperSlice1, 0.05f);
  MoveMouse(gap);
  EXPECT_EQ(1, Upper()->GetSelectedSlice());
  // The pulled-out slice is hit where it is drawn, beyond the ellipse's rim.
  EXPECT_EQ(1, HoverOver(Upper(), UpperSlice1, 1.02f));
}

TEST_F(AppTest, AnimationReachesTwentyInATenthOfASecondAndStopsTheTimer) {
  ASSERT_EQ(0, HoverOver(Lower(), 60.0f, 0.5f));
  const float start = FakeTime;
  const std::pair<float, int> steps[] = {{0.05f, 10}, {0.08f, 16}, {0.1f, 20}};
  for (const auto& [seconds, offset] : steps) {
    FakeTime = start + seconds;
    Tick();
    EXPECT_EQ(offset, Lower()->GetExplodeOffset()) << seconds << " s in";
  }
  EXPECT_FALSE(StopTimer());
}

TEST_F(AppTest, AnAnimationAcrossMidnightFinishes) {
  FakeTime = 86399.98f;
  ASSERT_EQ(1, HoverOver(Upper(), UpperSlice1, 0.5f));
  FakeTime = 0.03f;  // 0.05 s later, after midnight
  Tick();
  EXPECT_NEAR(10, Upper()->GetExplodeOffset(), 1);
  EXPECT_TRUE(StopTimer());
  StartTimer();
  FakeTime = 0.09f;
  Tick();
  EXPECT_EQ(20, Upper()->GetExplodeOffset());
  EXPECT_FALSE(StopTimer());
  EXPECT_NEAR(0.07f, SecondsSince(86399.98f, 0.05f), 0.01f);
  EXPECT_FLOAT_EQ(0.5f, SecondsSince(10.0f, 10.5f));
}

TEST_F(AppTest, ANewSelectionInOneChartDropsTheOtherChartsSelection) {
  ASSERT_EQ(1, HoverOver(Lower(), 180.0f, 0.5f));
  // One move from the lower chart straight onto an upper slice.
  EXPECT_EQ(1, HoverOver(Upper(), UpperSlice1, 0.5f));
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  // The next move does not stop the upper chart's animation short of 20.
  MoveMouse(PointOnChart(Upper(), UpperSlice1, 0.7f));
  TickAfter(0.1f);
  EXPECT_EQ(20, Upper()->GetExplodeOffset());

  // And the other way round.
  EXPECT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
  EXPECT_EQ(-1, Upper()->GetSelectedSlice());
}

TEST_F(AppTest, ATickWithNothingSelectedStopsTheTimer) {
  StartTimer();
  Tick();
  EXPECT_FALSE(StopTimer());
}

TEST_F(AppTest, ResizeCentresBothChartsInDeviceIndependentUnits) {
  const float scale = PixelsPerDip();
  const auto pixels = [&](float dips) { return static_cast<WORD>(std::lround(dips * scale)); };
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(pixels(512), pixels(540)));
  EXPECT_NEAR(56.0f, Upper()->GetLeft(), 0.5f);
  EXPECT_NEAR(106.0f, Lower()->GetLeft(), 0.5f);
  SendMessageW(window_, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  EXPECT_FLOAT_EQ(-200.0f, Upper()->GetLeft());
  EXPECT_FLOAT_EQ(-150.0f, Lower()->GetLeft());
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(pixels(1000), pixels(540)));
  EXPECT_NEAR(300.0f, Upper()->GetLeft(), 0.5f);

  // Hover answers for the slice under the pointer wherever the charts now stand.
  EXPECT_EQ(2, HoverOver(Lower(), 300.0f, 0.5f));
}

TEST_F(AppTest, TheRealWindowIsCentredAtItsLogicalSize) {
  const float scale = PixelsPerDip();
  EXPECT_EQ(win32::Sized(0, 0, std::lround(512 * scale), std::lround(540 * scale)),
            win32::ClientBounds(window_));
  // The first WM_SIZE after the charts exist centred them.
  EXPECT_NEAR(56.0f, Upper()->GetLeft(), 0.5f);
  EXPECT_NEAR(106.0f, Lower()->GetLeft(), 0.5f);
}

}  // namespace
}  // namespace apptest
