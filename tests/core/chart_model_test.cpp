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

ComPtr<IPieChart> MakeChartOnRecordingFactory(ComPtr<RecordingFactory>* factory) {
  *factory = orb::MakeComObject<RecordingFactory>();
  auto palette = orb::MakeComObject<FakePalette>(11);
  return MakeUpperChart(MakeHelper().Get(), factory->Get(), palette.Get());
}

// The interface identifiers are checked with the others' in interface_ids_test.cpp.
TEST(PieChartModel, IsOneObjectBehindBothOfItsInterfaces) {
  ComPtr<RecordingFactory> factory;
  auto chart = MakeChartOnRecordingFactory(&factory);
  ComPtr<IRenderable> renderable = RenderableOf(chart.Get());
  ASSERT_TRUE(renderable);
  // Both interfaces lead back to one object.
  ComPtr<IUnknown> fromChart;
  ComPtr<IUnknown> fromRenderable;
  ASSERT_EQ(S_OK, chart.As(&fromChart));
  ASSERT_EQ(S_OK, renderable.As(&fromRenderable));
  EXPECT_EQ(fromChart.Get(), fromRenderable.Get());
  ComPtr<IPalette> notAPalette;
  EXPECT_EQ(E_NOINTERFACE, chart.As(&notAPalette));
}

// A chart's left edge, width, centre (x, y) and radii (x, y).
using Place = std::array<float, 6>;
Place PlaceOf(IPieChart* chart) {
  return {chart->GetLeft(),    chart->GetWidth(),   chart->GetCenterX(),
          chart->GetCenterY(), chart->GetRadiusX(), chart->GetRadiusY()};
}

TEST(PieChartModel, NewChartStartsUnselectedWithTheRectangleItWasGiven) {
  ComPtr<RecordingFactory> factory;
  auto upper = MakeChartOnRecordingFactory(&factory);
  ASSERT_TRUE(upper);
  EXPECT_EQ(-1, upper->GetSelectedSlice());
  EXPECT_EQ(0, upper->GetExplodeOffset());
  EXPECT_EQ(0.0f, upper->GetSelectionTime());
  EXPECT_EQ((Place{10.0f, 400.0f, 210.0f, 110.0f, 170.0f, 70.0f}), PlaceOf(upper.Get()));

  auto lower = MakeLowerChart(MakeHelper().Get(), factory.Get(), nullptr);
  EXPECT_EQ((Place{60.0f, 300.0f, 210.0f, 370.0f, 120.0f, 120.0f}), PlaceOf(lower.Get()));
  // Re-centring on resize moves the centre with the left edge.
  lower->SetLeft(100.0f);
  lower->SetWidth(200.0f);
  EXPECT_EQ((Place{100.0f, 200.0f, 200.0f, 370.0f, 70.0f, 120.0f}), PlaceOf(lower.Get()));
}

TEST(PieChartModel, SelectSliceStampsTheClockAndRestartsTheExplosion) {
  ComPtr<RecordingFactory> factory;
  auto chart = MakeChartOnRecordingFactory(&factory);
  chart->SetExplodeOffset(20);
  EXPECT_EQ(20, chart->GetExplodeOffset());
  SetFakeTime(43210.125f);
  chart->SelectSlice(3);
  EXPECT_EQ(3, chart->GetSelectedSlice());
  EXPECT_EQ(0, chart->GetExplodeOffset());
  EXPECT_EQ(43210.125f, chart->GetSelectionTime());

  // Any index is kept as given, even one that matches no slice.
  SetFakeTime(7.5f);
  chart->SelectSlice(99);
  EXPECT_EQ(99, chart->GetSelectedSlice());
  EXPECT_EQ(7.5f, chart->GetSelectionTime());
  chart->SelectSlice(-1);
  EXPECT_EQ(-1, chart->GetSelectedSlice());
}

TEST(PieChartModel, SetValuesCopiesAndKeepsTheSelection) {
  ComPtr<RecordingFactory> factory;
  auto chart = MakeChartOnRecordingFactory(&factory);
  chart->SelectSlice(5);
  chart->SetExplodeOffset(12);
  std::vector<float> values = {10.0f, 20.0f, 30.0f};
  chart->SetValues(values.data(), 3);
  // The caller's list changing afterwards must not change the chart.
  values[0] = 1000.0f;
  values.clear();
  values.shrink_to_fit();
  EXPECT_EQ(5, chart->GetSelectedSlice());
  EXPECT_EQ(12, chart->GetExplodeOffset());

  chart->BuildGeometry();
  ASSERT_EQ(3u, factory->Paths().size());
  // 10 of 60 is 60 degrees: the first rim end point lies at 60 degrees.
  const auto first = ReadSlice(*factory->Paths()[0]);
  ASSERT_TRUE(first.complete);
  EXPECT_NEAR(210.0f + 170.0f * std::sin(60.0f * kDegreesToRadians), first.arc.point.x, 1e-3);
  EXPECT_NEAR(110.0f + 70.0f * std::cos(60.0f * kDegreesToRadians), first.arc.point.y, 1e-3);
}

TEST(PieChartModel, SetChartValuesHandsOverTheWholeListAndIgnoresAnEmptyChart) {
  SetChartValues(nullptr, {1.0f, 2.0f});  // must not crash

  ComPtr<RecordingFactory> factory;
  auto chart = MakeChartOnRecordingFactory(&factory);
  SetChartValues(chart.Get(), {1.0f, 1.0f, 1.0f, 1.0f, 1.0f});
  chart->BuildGeometry();
  EXPECT_EQ(5u, factory->Paths().size());

  SetChartValues(chart.Get(), {});
  factory->ForgetPaths();
  chart->BuildGeometry();
  EXPECT_TRUE(factory->Paths().empty());
}

TEST(PieChartModel, SetValuesEmptiesEveryGeometryUntilTheNextBuild) {
  ComPtr<RecordingFactory> factory;
  auto chart = MakeChartOnRecordingFactory(&factory);
  factory->SetContainsRule([](const PathRecord&, D2D1_POINT_2F) { return true; });
  SetChartValues(chart.Get(), {1.0f, 2.0f});
  chart->BuildGeometry();
  const auto identity = MakeHelper()->MakeIdentityMatrix();
  EXPECT_EQ(0, RenderableOf(chart.Get())->HitTest(210.0f, 110.0f, identity));

  SetChartValues(chart.Get(), {3.0f, 4.0f, 5.0f});
  EXPECT_TRUE(factory->LivePaths().empty());
  EXPECT_EQ(-1, RenderableOf(chart.Get())->HitTest(210.0f, 110.0f, identity));
}

TEST(PieChartModel, PaletteIsCountedAndReplaceable) {
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

TEST(PieChartModel, NoReferenceOutlivesTheChart) {
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
