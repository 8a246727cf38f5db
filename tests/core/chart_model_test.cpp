#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "chart/pie_chart.h"
#include "chart/slice_layout.h"
#include "chart/time_of_day.h"
#include "tests/core/chart_test_support.h"
#include "tests/support/recording_factory.h"

namespace {

using namespace chart_test;

// An upper chart on a recording factory.
class PieChartModel : public ::testing::Test {
 protected:
  ComPtr<RecordingFactory> factory_ = orb::MakeComObject<RecordingFactory>();
  ComPtr<IPieChart> chart_ =
      MakeUpperChart(MakeHelper().Get(), factory_.Get(), orb::MakeComObject<FakePalette>(11).Get());
};

// The interface identifiers are checked with the others' in interface_ids_test.cpp.
TEST_F(PieChartModel, IsOneObjectBehindBothOfItsInterfaces) {
  ComPtr<IRenderable> renderable = RenderableOf(chart_.Get());
  ASSERT_TRUE(renderable);
  // Both interfaces lead back to one object.
  ComPtr<IUnknown> fromChart;
  ComPtr<IUnknown> fromRenderable;
  ASSERT_EQ(S_OK, chart_.As(&fromChart));
  ASSERT_EQ(S_OK, renderable.As(&fromRenderable));
  EXPECT_EQ(fromChart.Get(), fromRenderable.Get());
  ComPtr<IPalette> notAPalette;
  EXPECT_EQ(E_NOINTERFACE, chart_.As(&notAPalette));
}

// A chart's left edge, width, centre (x, y) and radii (x, y).
using Place = std::array<float, 6>;
Place PlaceOf(IPieChart* chart) {
  return {chart->GetLeft(),    chart->GetWidth(),   chart->GetCenterX(),
          chart->GetCenterY(), chart->GetRadiusX(), chart->GetRadiusY()};
}

TEST_F(PieChartModel, NewChartStartsUnselectedWithTheRectangleItWasGiven) {
  ASSERT_TRUE(chart_);
  EXPECT_EQ(-1, chart_->GetSelectedSlice());
  EXPECT_EQ(0, chart_->GetExplodeOffset());
  EXPECT_EQ(0.0f, chart_->GetSelectionTime());
  EXPECT_EQ((Place{10.0f, 400.0f, 210.0f, 110.0f, 170.0f, 70.0f}), PlaceOf(chart_.Get()));

  auto lower = MakeLowerChart(MakeHelper().Get(), factory_.Get(), nullptr);
  EXPECT_EQ((Place{60.0f, 300.0f, 210.0f, 370.0f, 120.0f, 120.0f}), PlaceOf(lower.Get()));
  // Re-centring on resize moves the centre with the left edge.
  lower->SetLeft(100.0f);
  lower->SetWidth(200.0f);
  EXPECT_EQ((Place{100.0f, 200.0f, 200.0f, 370.0f, 70.0f, 120.0f}), PlaceOf(lower.Get()));
}

TEST_F(PieChartModel, SelectSliceStampsTheClockAndRestartsTheExplosion) {
  chart_->SetExplodeOffset(20);
  EXPECT_EQ(20, chart_->GetExplodeOffset());
  SetFakeTime(43210.125f);
  chart_->SelectSlice(3);
  EXPECT_EQ(3, chart_->GetSelectedSlice());
  EXPECT_EQ(0, chart_->GetExplodeOffset());
  EXPECT_EQ(43210.125f, chart_->GetSelectionTime());

  // Any index is kept as given, even one that matches no slice.
  SetFakeTime(7.5f);
  chart_->SelectSlice(99);
  EXPECT_EQ(99, chart_->GetSelectedSlice());
  EXPECT_EQ(7.5f, chart_->GetSelectionTime());
  chart_->SelectSlice(-1);
  EXPECT_EQ(-1, chart_->GetSelectedSlice());
}

TEST_F(PieChartModel, SetValuesCopiesAndKeepsTheSelection) {
  chart_->SelectSlice(5);
  chart_->SetExplodeOffset(12);
  std::vector<float> values = {10.0f, 20.0f, 30.0f};
  chart_->SetValues(values.data(), 3);
  // The caller's list changing afterwards must not change the chart.
  values[0] = 1000.0f;
  values.clear();
  values.shrink_to_fit();
  EXPECT_EQ(5, chart_->GetSelectedSlice());
  EXPECT_EQ(12, chart_->GetExplodeOffset());

  chart_->BuildGeometry();
  ASSERT_EQ(3u, factory_->Paths().size());
  // 10 of 60 is 60 degrees: the first rim end point lies at 60 degrees.
  const auto first = ReadSlice(*factory_->Paths()[0]);
  ASSERT_TRUE(first.complete);
  EXPECT_NEAR(210.0f + 170.0f * std::sin(60.0f * kDegreesToRadians), first.arc.point.x, 1e-3);
  EXPECT_NEAR(110.0f + 70.0f * std::cos(60.0f * kDegreesToRadians), first.arc.point.y, 1e-3);
}

TEST_F(PieChartModel, AnswersEachSliceItsAnglesValueShareAndEachValueListItsGeneration) {
  const UINT32 start = chart_->GetValuesGeneration();
  SetChartValues(chart_.Get(), {10.0f, 20.0f, 30.0f});
  EXPECT_EQ(start + 1, chart_->GetValuesGeneration());
  ASSERT_EQ(3, chart_->GetSliceCount());
  // Degrees, value and percent of each slice: 10, 20 and 30 of 60.
  const float expected[3][4] = {
      {0, 60, 10, 100.0f / 6}, {60, 180, 20, 100.0f / 3}, {180, 360, 30, 50}};
  for (INT32 i = 0; i < 3; ++i) {
    PieSlice slice{};
    ASSERT_EQ(S_OK, chart_->GetSlice(i, &slice));
    const float* e = expected[i];
    EXPECT_EQ((std::array<float, 4>{e[0], e[1], e[2], e[3]}),
              (std::array<float, 4>{slice.startDegrees, slice.endDegrees, slice.value,
                                    static_cast<float>(slice.percent)}))
        << "slice " << i;
  }
  PieSlice none{};
  EXPECT_EQ(E_INVALIDARG, chart_->GetSlice(3, &none));
  EXPECT_EQ(E_INVALIDARG, chart_->GetSlice(-1, &none));

  // The same values again are a new list; values that make no pie have no slices.
  SetChartValues(chart_.Get(), {10.0f, 20.0f, 30.0f});
  EXPECT_EQ(start + 2, chart_->GetValuesGeneration());
  SetChartValues(chart_.Get(), {1.0f, -1.0f});
  EXPECT_EQ(0, chart_->GetSliceCount());

  // A point beyond the rim moves along its direction, scaled down along the short axis: at 90
  // degrees (right) the whole way, at 0 (down) by 70 / 170 of it.
  D2D1_POINT_2F point{};
  chart_->GetPointBeyondRim(90.0f, 20.0f, &point);
  EXPECT_NEAR(210.0f + 170.0f + 20.0f, point.x, 1e-3);
  EXPECT_NEAR(110.0f, point.y, 1e-3);
  chart_->GetPointBeyondRim(0.0f, 17.0f, &point);
  EXPECT_NEAR(110.0f + 70.0f + 7.0f, point.y, 1e-3);
}

TEST_F(PieChartModel, SetChartValuesHandsOverTheWholeListAndIgnoresAnEmptyChart) {
  SetChartValues(nullptr, {1.0f, 2.0f});  // must not crash

  SetChartValues(chart_.Get(), {1.0f, 1.0f, 1.0f, 1.0f, 1.0f});
  chart_->BuildGeometry();
  EXPECT_EQ(5u, factory_->Paths().size());

  SetChartValues(chart_.Get(), {});
  factory_->ForgetPaths();
  chart_->BuildGeometry();
  EXPECT_TRUE(factory_->Paths().empty());
}

TEST_F(PieChartModel, SetValuesEmptiesEveryGeometryUntilTheNextBuild) {
  factory_->SetContainsRule([](const PathRecord&, D2D1_POINT_2F) { return true; });
  SetChartValues(chart_.Get(), {1.0f, 2.0f});
  chart_->BuildGeometry();
  const auto identity = MakeHelper()->MakeIdentityMatrix();
  EXPECT_EQ(0, RenderableOf(chart_.Get())->HitTest(210.0f, 110.0f, identity));

  SetChartValues(chart_.Get(), {3.0f, 4.0f, 5.0f});
  EXPECT_TRUE(factory_->LivePaths().empty());
  EXPECT_EQ(-1, RenderableOf(chart_.Get())->HitTest(210.0f, 110.0f, identity));
}

TEST_F(PieChartModel, PaletteIsCountedAndReplaceable) {
  const LONG before = orb::LiveObjectCount();
  {
    auto factory = orb::MakeComObject<RecordingFactory>();
    auto first = orb::MakeComObject<FakePalette>(11);
    auto second = orb::MakeComObject<FakePalette>(16);
    auto chart = MakeUpperChart(MakeHelper().Get(), factory.Get(), first.Get());

    ComPtr<IPalette> got;
    chart->GetPalette(&got);
    EXPECT_EQ(static_cast<IPalette*>(first.Get()), got.Get());
    chart->SetPalette(second.Get());
    chart->GetPalette(&got);
    EXPECT_EQ(static_cast<IPalette*>(second.Get()), got.Get());
    got.Reset();

    // The chart gave up its reference to the first palette: ours is the last.
    IPalette* raw = first.Detach();
    EXPECT_EQ(0u, raw->Release());

    chart->SetPalette(nullptr);
    chart->GetPalette(&got);
    EXPECT_FALSE(got);
  }
  EXPECT_EQ(before, orb::LiveObjectCount());
}

TEST_F(PieChartModel, NoReferenceOutlivesTheChart) {
  const LONG before = orb::LiveObjectCount();
  {
    auto factory = orb::MakeComObject<RecordingFactory>();
    auto palette = orb::MakeComObject<FakePalette>(11);
    auto chart = MakeUpperChart(MakeHelper().Get(), factory.Get(), palette.Get());
    SetChartValues(chart.Get(), {10.0f, 20.0f, 30.0f, 40.0f});
    chart->SelectSlice(2);
    chart->SetExplodeOffset(20);
    chart->BuildGeometry();
    chart->BuildGeometry();
    EXPECT_EQ(8u, factory->Paths().size());
    EXPECT_EQ(4u, factory->LivePaths().size());  // the first build's paths were given up
    for (const auto& path : factory->Paths()) EXPECT_FALSE(path->sinkAlive);
    chart.Reset();
    EXPECT_TRUE(factory->LivePaths().empty());
  }
  EXPECT_EQ(before, orb::LiveObjectCount());
}

TEST(TimeOfDay, LiesWithinOneDayAndFollowsTheSystemClock) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const float now = LocalTimeOfDay();
  EXPECT_GE(now, 0.0f);
  EXPECT_LT(now, 86400.0f);
  const float expected =
      static_cast<float>(before.wHour * 3600 + before.wMinute * 60 + before.wSecond) +
      static_cast<float>(before.wMilliseconds) / 1000.0f;
  // Within a second of the earlier reading, or just past midnight after it.
  EXPECT_TRUE((now >= expected && now - expected < 1.0f) || expected - now > 86000.0f)
      << "expected " << expected << ", read " << now;
}

}  // namespace
