#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/pie_chart.h"
#include "d2d/d2d1_helper.h"
#include "tests/core/chart_test_support.h"
#include "tests/support/recording_factory.h"

namespace {

using namespace chart_test;

TEST(PieChartHitTest, AsksEachSliceInOrderAndTheLowestIndexWins) {
  auto factory = orb::MakeComObject<RecordingFactory>();
  auto chart =
      BuiltChart(true, MakeHelper().Get(), factory.Get(), nullptr, {1.0f, 1.0f, 1.0f, 1.0f});
  // Slices 1 and 2 both claim the point.
  factory->SetContainsRule(
      [](const PathRecord& path, D2D1_POINT_2F) { return path.index == 1 || path.index == 2; });
  const D2D1_MATRIX_3X2_F shifted = {{{1.0f, 0.0f, 0.0f, 1.0f, 5.0f, -7.0f}}};
  EXPECT_EQ(1, RenderableOf(chart.Get())->HitTest(12.5f, 34.5f, shifted));

  const auto& paths = factory->Paths();
  ASSERT_EQ(4u, paths.size());
  ASSERT_EQ(1u, paths[0]->containsQueries.size());
  ASSERT_EQ(1u, paths[1]->containsQueries.size());
  EXPECT_TRUE(paths[2]->containsQueries.empty());  // the search stops at the first hit
  const auto& query = paths[1]->containsQueries[0];
  EXPECT_EQ(12.5f, query.point.x);
  EXPECT_EQ(34.5f, query.point.y);
  ASSERT_TRUE(query.hasTransform);
  EXPECT_EQ(5.0f, query.transform._31);
  EXPECT_EQ(-7.0f, query.transform._32);
  EXPECT_EQ(0.0f, query.flatteningTolerance);

  factory->SetContainsRule([](const PathRecord&, D2D1_POINT_2F) { return false; });
  EXPECT_EQ(-1, RenderableOf(chart.Get())->HitTest(12.5f, 34.5f, shifted));
}

TEST(PieChartHitTest, AChartWithoutValuesHitsNothing) {
  auto factory = orb::MakeComObject<RecordingFactory>();
  factory->SetContainsRule([](const PathRecord&, D2D1_POINT_2F) { return true; });
  auto chart = MakeLowerChart(MakeHelper().Get(), factory.Get(), nullptr);
  chart->BuildGeometry();
  EXPECT_TRUE(factory->Paths().empty());
  EXPECT_EQ(-1,
            RenderableOf(chart.Get())->HitTest(210.0f, 370.0f, MakeHelper()->MakeIdentityMatrix()));
}

// The rest runs on the process's real Direct2D factory: under Wine, the project's stand-in.
class PieChartHitTestOnDirect2D : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &factory_));
    palette_ = orb::MakeComObject<FakePalette>(11);
  }

  // Where the point at `degrees` (0 down, counter-clockwise on screen) and `distance` from
  // the centre falls.
  INT32 HitAt(IPieChart* chart, float degrees, float distance) {
    const float radians = degrees * 3.14159265f / 180.0f;
    return Hit(chart, chart->GetCenterX() + distance * std::sin(radians),
               chart->GetCenterY() + distance * std::cos(radians));
  }
  INT32 Hit(IPieChart* chart, float x, float y) {
    return RenderableOf(chart)->HitTest(x, y, identity_);
  }
  ComPtr<IPieChart> Built(bool upper, const std::vector<float>& values) {
    return BuiltChart(upper, helper_.Get(), factory_.Get(), palette_.Get(), values);
  }

  ComPtr<ID2DHelper> helper_ = MakeHelper();
  ComPtr<ID2D1Factory> factory_;
  ComPtr<FakePalette> palette_;
  D2D1_MATRIX_3X2_F identity_ = helper_->MakeIdentityMatrix();
};

TEST_F(PieChartHitTestOnDirect2D, PointsInsideEachSliceFindThatSlice) {
  auto chart = Built(false, {1.0f, 1.0f, 1.0f, 1.0f});
  for (INT32 slice = 0; slice < 4; ++slice) {
    const float middle = 45.0f + 90.0f * static_cast<float>(slice);
    EXPECT_EQ(slice, HitAt(chart.Get(), middle, 60.0f)) << "middle of slice " << slice;
    // Near the rim, inside the arc (a chord would miss this point).
    EXPECT_EQ(slice, HitAt(chart.Get(), middle + 30.0f, 117.0f)) << "rim of slice " << slice;
  }

  // Uneven slices on the ellipse: 150 and 10 split at 337.5 degrees.
  auto upper = Built(true, {150.0f, 10.0f});
  EXPECT_EQ(0, Hit(upper.Get(), 210.0f, 60.0f));     // above the centre: deep in the large slice
  EXPECT_EQ(0, Hit(upper.Get(), 370.0f, 110.0f));    // right end of the ellipse
  EXPECT_EQ(1, HitAt(upper.Get(), 348.75f, 50.0f));  // the bisector of the small slice
}

TEST_F(PieChartHitTestOnDirect2D, PointsOutsideTheEllipseHitNothing) {
  auto chart = Built(true, {3.0f, 5.0f, 7.0f});
  EXPECT_EQ(-1, Hit(chart.Get(), 0.0f, 0.0f));
  EXPECT_EQ(-1, Hit(chart.Get(), 383.0f, 110.0f));  // beyond the right end (rx 170)
  EXPECT_EQ(-1, Hit(chart.Get(), 210.0f, 183.0f));  // below the bottom (ry 70)
  // Inside the rectangle's corner but outside the ellipse.
  EXPECT_EQ(-1, Hit(chart.Get(), 360.0f, 165.0f));
  EXPECT_EQ(-1, Hit(chart.Get(), 500.0f, 500.0f));
}

TEST_F(PieChartHitTestOnDirect2D, APulledOutSliceIsHitWhereItIsDrawn) {
  auto chart = MakeLowerChart(helper_.Get(), factory_.Get(), palette_.Get());
  SetChartValues(chart.Get(), {1.0f, 1.0f, 1.0f, 1.0f});
  chart->SelectSlice(0);  // bottom right; its bisector is 45 degrees
  chart->BuildGeometry();
  EXPECT_EQ(0, HitAt(chart.Get(), 45.0f, 8.0f));
  EXPECT_EQ(-1, HitAt(chart.Get(), 45.0f, 130.0f));

  chart->SetExplodeOffset(20);
  chart->BuildGeometry();
  // The gap it leaves near the centre belongs to no slice ...
  EXPECT_EQ(-1, HitAt(chart.Get(), 45.0f, 8.0f));
  // ... and beyond the old rim it is hit where it now stands.
  EXPECT_EQ(0, HitAt(chart.Get(), 45.0f, 130.0f));
  EXPECT_EQ(1, HitAt(chart.Get(), 135.0f, 60.0f));
}

TEST_F(PieChartHitTestOnDirect2D, ASingleValueCoversTheWholeEllipse) {
  auto chart = Built(false, {42.0f});
  EXPECT_EQ(0, Hit(chart.Get(), 210.0f, 370.0f));
  for (int degrees = 10; degrees < 360; degrees += 40) {
    EXPECT_EQ(0, HitAt(chart.Get(), static_cast<float>(degrees), 110.0f)) << degrees;
    EXPECT_EQ(-1, HitAt(chart.Get(), static_cast<float>(degrees), 130.0f)) << degrees;
  }
}

}  // namespace
