#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "chart/pie_chart.h"
#include "chart/slice_layout.h"
#include "tests/core/chart_test_support.h"
#include "tests/support/recording_factory.h"

namespace {

using namespace chart_test;

constexpr float kNear = 1e-3f;

#define EXPECT_POINT_NEAR(ex, ey, point) \
  do {                                   \
    EXPECT_NEAR((ex), (point).x, kNear); \
    EXPECT_NEAR((ey), (point).y, kNear); \
  } while (false)

class SliceGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCalls().clear();
    factory_ = orb::MakeComObject<RecordingFactory>();
    palette_ = orb::MakeComObject<FakePalette>(11);
  }

  ComPtr<IPieChart> Upper() {
    return MakeUpperChart(helper_.Get(), factory_.Get(), palette_.Get());
  }
  ComPtr<IPieChart> Lower() {
    return MakeLowerChart(helper_.Get(), factory_.Get(), palette_.Get());
  }

  std::vector<WrittenSlice> Written() const {
    std::vector<WrittenSlice> slices;
    for (const auto& path : factory_->LivePaths()) slices.push_back(ReadSlice(*path));
    return slices;
  }

  // The slices that chart writes for values, with the slice selected pulled out by offset.
  std::vector<WrittenSlice> Build(IPieChart* chart, const std::vector<float>& values,
                                  INT32 selected = -1, INT32 offset = 0) {
    SetChartValues(chart, values);
    if (selected != -1 || offset != 0) {
      chart->SelectSlice(selected);
      chart->SetExplodeOffset(offset);
    }
    chart->BuildGeometry();
    return Written();
  }

  ComPtr<ID2DHelper> helper_ = MakeHelper();
  ComPtr<RecordingFactory> factory_;
  ComPtr<FakePalette> palette_;
};

TEST_F(SliceGeometry, FourEqualValuesMeetAtTheBottomRightAndTopPoints) {
  const auto slices = Build(Lower().Get(), {25.0f, 25.0f, 25.0f, 25.0f});
  ASSERT_EQ(4u, slices.size());
  for (const auto& slice : slices) {
    ASSERT_TRUE(slice.complete);
    EXPECT_POINT_NEAR(210.0f, 370.0f, slice.apex);
    EXPECT_EQ(D2D1_FIGURE_BEGIN_FILLED, slice.begin);
    EXPECT_EQ(D2D1_FIGURE_END_CLOSED, slice.end);
    EXPECT_EQ(120.0f, slice.arc.size.width);
    EXPECT_EQ(120.0f, slice.arc.size.height);
    EXPECT_EQ(0.0f, slice.arc.rotationAngle);
    EXPECT_EQ(D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE, slice.arc.sweepDirection);
    EXPECT_EQ(D2D1_ARC_SIZE_SMALL, slice.arc.arcSize);
  }
  EXPECT_POINT_NEAR(210.0f, 490.0f, slices[0].lineEnd);    // bottom
  EXPECT_POINT_NEAR(330.0f, 370.0f, slices[0].arc.point);  // right
  EXPECT_POINT_NEAR(330.0f, 370.0f, slices[1].lineEnd);
  EXPECT_POINT_NEAR(210.0f, 250.0f, slices[1].arc.point);  // top
  EXPECT_POINT_NEAR(210.0f, 250.0f, slices[2].lineEnd);
  EXPECT_POINT_NEAR(90.0f, 370.0f, slices[2].arc.point);  // left
  EXPECT_POINT_NEAR(90.0f, 370.0f, slices[3].lineEnd);
  EXPECT_POINT_NEAR(210.0f, 490.0f, slices[3].arc.point);  // round to the start
  EXPECT_TRUE(MessageBoxCalls().empty());
}

TEST_F(SliceGeometry, OnlyASweepAboveHalfATurnTakesTheLargeArc) {
  auto chart = Upper();
  auto slices = Build(chart.Get(), {150.0f, 10.0f});
  ASSERT_EQ(2u, slices.size());
  EXPECT_EQ(D2D1_ARC_SIZE_LARGE, slices[0].arc.arcSize);  // 337.5 degrees
  EXPECT_EQ(D2D1_ARC_SIZE_SMALL, slices[1].arc.arcSize);  // 22.5 degrees
  // 337.5 degrees from the bottom ends just left of it.
  EXPECT_POINT_NEAR(210.0f + 170.0f * std::sin(337.5f * kDegreesToRadians),
                    110.0f + 70.0f * std::cos(337.5f * kDegreesToRadians), slices[0].arc.point);
  EXPECT_LT(slices[0].arc.point.x, 210.0f);

  // Exactly half a turn is the small arc.
  slices = Build(chart.Get(), {7.0f, 7.0f});
  ASSERT_EQ(2u, slices.size());
  EXPECT_EQ(D2D1_ARC_SIZE_SMALL, slices[0].arc.arcSize);
  EXPECT_EQ(D2D1_ARC_SIZE_SMALL, slices[1].arc.arcSize);
  EXPECT_POINT_NEAR(210.0f, 40.0f, slices[0].arc.point);
}

TEST_F(SliceGeometry, SelectedSliceOfTheEllipseMovesAlongItsBisectorScaledByTheShortAxis) {
  const auto slices = Build(Upper().Get(), {1.0f, 1.0f, 1.0f, 1.0f}, 0, 20);
  ASSERT_EQ(4u, slices.size());
  const float dx = 14.1421f;  // 20 sin 45
  const float dy = 5.8232f;   // 20 cos 45 x 70 / 170
  EXPECT_POINT_NEAR(210.0f + dx, 110.0f + dy, slices[0].apex);
  EXPECT_POINT_NEAR(210.0f + dx, 180.0f + dy, slices[0].lineEnd);
  EXPECT_POINT_NEAR(380.0f + dx, 110.0f + dy, slices[0].arc.point);
  // The wedge moves as a whole: same radii.
  EXPECT_EQ(170.0f, slices[0].arc.size.width);
  EXPECT_EQ(70.0f, slices[0].arc.size.height);
  for (size_t i = 1; i < slices.size(); ++i) EXPECT_POINT_NEAR(210.0f, 110.0f, slices[i].apex);
  EXPECT_POINT_NEAR(380.0f, 110.0f, slices[1].lineEnd);
}

TEST_F(SliceGeometry, SelectedSliceOfACircleMovesByTheWholeOffset) {
  // Slice 1 spans 90 to 180 degrees: its bisector points up and to the right.
  const auto slices = Build(Lower().Get(), {1.0f, 1.0f, 1.0f, 1.0f}, 1, 20);
  ASSERT_EQ(4u, slices.size());
  const float dx = slices[1].apex.x - 210.0f;
  const float dy = slices[1].apex.y - 370.0f;
  EXPECT_NEAR(20.0f, std::hypot(dx, dy), kNear);
  EXPECT_NEAR(dx, -dy, kNear);
  EXPECT_GT(dx, 0.0f);
  EXPECT_POINT_NEAR(330.0f + dx, 370.0f + dy, slices[1].lineEnd);
  EXPECT_POINT_NEAR(210.0f + dx, 250.0f + dy, slices[1].arc.point);
  EXPECT_POINT_NEAR(210.0f, 370.0f, slices[0].apex);
}

TEST_F(SliceGeometry, ASelectionOutsideTheSlicesMovesNothing) {
  auto chart = Lower();
  for (INT32 selection : {-1, 3, 4, 1000}) {
    const auto slices = Build(chart.Get(), {3.0f, 4.0f, 5.0f}, selection, 20);
    ASSERT_EQ(3u, slices.size());
    for (const auto& slice : slices) EXPECT_POINT_NEAR(210.0f, 370.0f, slice.apex);
    EXPECT_EQ(selection, chart->GetSelectedSlice());
  }
  // Fewer values than the selected index: the selection stays but nothing is pulled out.
  chart->SelectSlice(2);
  chart->SetExplodeOffset(20);
  for (const auto& slice : Build(chart.Get(), {3.0f, 4.0f})) {
    EXPECT_POINT_NEAR(210.0f, 370.0f, slice.apex);
  }
  EXPECT_EQ(2, chart->GetSelectedSlice());
}

TEST_F(SliceGeometry, ASingleValueIsTheWholeEllipse) {
  auto chart = Lower();
  Build(chart.Get(), {42.0f});
  ASSERT_EQ(1u, factory_->LivePaths().size());
  const auto& path = *factory_->LivePaths()[0];
  // No edges to the centre: two half arcs round the rim, closed.
  ASSERT_EQ(5u, path.calls.size());
  EXPECT_EQ(SinkOp::BeginFigure, path.calls[0].op);
  EXPECT_EQ(D2D1_FIGURE_BEGIN_FILLED, path.calls[0].figureBegin);
  EXPECT_POINT_NEAR(210.0f, 490.0f, path.calls[0].point);
  ASSERT_EQ(SinkOp::AddArc, path.calls[1].op);
  EXPECT_POINT_NEAR(210.0f, 250.0f, path.calls[1].arc.point);
  ASSERT_EQ(SinkOp::AddArc, path.calls[2].op);
  EXPECT_POINT_NEAR(210.0f, 490.0f, path.calls[2].arc.point);
  for (int i : {1, 2}) {
    EXPECT_EQ(120.0f, path.calls[i].arc.size.width);
    EXPECT_EQ(D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE, path.calls[i].arc.sweepDirection);
  }
  EXPECT_EQ(SinkOp::EndFigure, path.calls[3].op);
  EXPECT_EQ(D2D1_FIGURE_END_CLOSED, path.calls[3].figureEnd);
  EXPECT_EQ(SinkOp::Close, path.calls[4].op);

  // Selected, the whole ellipse moves up along the bisector at 180 degrees.
  chart->SelectSlice(0);
  chart->SetExplodeOffset(20);
  chart->BuildGeometry();
  ASSERT_EQ(1u, factory_->LivePaths().size());
  EXPECT_POINT_NEAR(210.0f, 470.0f, factory_->LivePaths()[0]->calls[0].point);
}

TEST_F(SliceGeometry, ValuesThatMakeNoPieBuildNothing) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<std::vector<float>> bad = {
      {0.0f, 0.0f}, {10.0f, -5.0f, 20.0f}, {-10.0f, -20.0f},
      {10.0f, inf}, {nan, 10.0f},          {3e38f, 3e38f},  // finite values whose total is not
  };
  auto chart = Upper();
  factory_->SetContainsRule([](const PathRecord&, D2D1_POINT_2F) { return true; });
  const auto identity = helper_->MakeIdentityMatrix();
  for (const auto& values : bad) {
    SetChartValues(chart.Get(), {1.0f, 2.0f});
    chart->BuildGeometry();
    ASSERT_EQ(2u, factory_->LivePaths().size());
    SetChartValues(chart.Get(), values);
    chart->BuildGeometry();
    EXPECT_TRUE(factory_->LivePaths().empty()) << values[0] << ", " << values[1];
    EXPECT_EQ(-1, RenderableOf(chart.Get())->HitTest(210.0f, 110.0f, identity));
  }
  EXPECT_TRUE(MessageBoxCalls().empty());

  // No values at all, by count 0 or a negative count.
  const float some[] = {1.0f, 2.0f};
  const size_t made = factory_->Paths().size();
  chart->SetValues(some, 0);
  chart->BuildGeometry();
  chart->SetValues(some, -3);
  chart->BuildGeometry();
  EXPECT_EQ(made, factory_->Paths().size());

  // Zero among positive values is a valid slice of no width.
  SetChartValues(chart.Get(), {0.0f, 10.0f, 10.0f});
  chart->BuildGeometry();
  EXPECT_EQ(3u, factory_->LivePaths().size());
}

class GeometryFailure : public SliceGeometry, public ::testing::WithParamInterface<int> {};

TEST_P(GeometryFailure, PathCreationFailingOnSliceIReportsAndKeepsTheEarlierSlices) {
  const int failing = GetParam();
  auto chart = Upper();
  SetChartValues(chart.Get(), {1.0f, 2.0f, 3.0f, 4.0f, 5.0f});
  chart->BuildGeometry();  // a full set first: the failed build must not keep old paths
  factory_->FailPathCreation(failing + 1);
  chart->BuildGeometry();

  ASSERT_EQ(1u, MessageBoxCalls().size());
  const auto& box = MessageBoxCalls()[0];
  EXPECT_EQ(nullptr, box.owner);
  EXPECT_EQ(L"Failed create geometry", box.text);
  EXPECT_EQ(L"D2 Pie", box.caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_TASKMODAL | MB_SETFOREGROUND), box.style);
  // The build stopped at slice i: nothing more was made, only the new earlier slices live.
  EXPECT_EQ(5u + failing, factory_->Paths().size());
  const auto live = factory_->LivePaths();
  ASSERT_EQ(static_cast<size_t>(failing), live.size());
  for (const auto& path : live) EXPECT_GE(path->index, 5);

  // Hit testing and drawing see only those slices.
  factory_->SetContainsRule([](const PathRecord& path, D2D1_POINT_2F) { return path.index >= 5; });
  const INT32 hit = RenderableOf(chart.Get())->HitTest(0.0f, 0.0f, helper_->MakeIdentityMatrix());
  EXPECT_EQ(failing == 0 ? -1 : 0, hit);
}

TEST_P(GeometryFailure, SinkFailingOnSliceIReportsAndGivesUpThatPath) {
  const int failing = GetParam();
  auto chart = Lower();
  SetChartValues(chart.Get(), {1.0f, 2.0f, 3.0f, 4.0f, 5.0f});
  factory_->FailOpen(failing + 1);
  chart->BuildGeometry();

  ASSERT_EQ(1u, MessageBoxCalls().size());
  EXPECT_EQ(L"Failed create sink", MessageBoxCalls()[0].text);
  EXPECT_EQ(L"D2 Pie", MessageBoxCalls()[0].caption);
  ASSERT_EQ(static_cast<size_t>(failing + 1), factory_->Paths().size());
  EXPECT_FALSE(factory_->Paths().back()->geometryAlive);
  EXPECT_EQ(static_cast<size_t>(failing), factory_->LivePaths().size());

  // The next build with a healthy factory is whole again.
  chart->BuildGeometry();
  EXPECT_EQ(5u, factory_->LivePaths().size());
  EXPECT_EQ(1u, MessageBoxCalls().size());
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, GeometryFailure, ::testing::Values(0, 2, 4));

// A failure box that does what the real one's modal loop lets happen while it is open: ticks of
// the explode timer rebuild the animated chart, a change of DPI rebuilds the other one too, and
// the factory goes on failing.
struct ModalFailureBox {
  IPieChart* animated = nullptr;
  IPieChart* other = nullptr;
  RecordingFactory* factory = nullptr;
  int open = 0;
  int mostOpenAtOnce = 0;
  size_t livePathsWhileOpen = 0;
};
ModalFailureBox* modalBox = nullptr;

int WINAPI ShowModalFailureBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  RecordMessageBox(owner, text, caption, style);
  ModalFailureBox& box = *modalBox;
  box.mostOpenAtOnce = std::max(box.mostOpenAtOnce, ++box.open);
  // Boxes inside boxes would go on for as long as the failure lasts; three deep is enough to see.
  if (box.open < 3) {
    for (int tick = 0; tick < 3; ++tick) {
      box.factory->FailPathCreation(1);
      box.animated->BuildGeometry();
    }
    box.factory->FailOpen(1);
    box.other->BuildGeometry();
    box.livePathsWhileOpen = box.factory->LivePaths().size();
  }
  --box.open;
  return IDOK;
}

TEST_F(SliceGeometry, AFailureIsNotReportedAgainWhileItsBoxIsOpen) {
  ModalFailureBox box;
  modalBox = &box;
  auto upper = MakeUpperChart(helper_.Get(), factory_.Get(), palette_.Get(), ShowModalFailureBox);
  auto lower = MakeLowerChart(helper_.Get(), factory_.Get(), palette_.Get(), ShowModalFailureBox);
  box.animated = upper.Get();
  box.other = lower.Get();
  box.factory = factory_.Get();
  SetChartValues(upper.Get(), {1.0f, 2.0f, 3.0f});
  SetChartValues(lower.Get(), {4.0f, 5.0f});

  factory_->FailPathCreation(1);
  upper->BuildGeometry();
  // One box, whichever chart failed while it was open; both stayed empty, as the first build did
  // when it showed the box, and the lower chart's build did run into its failing sink.
  EXPECT_EQ(1, box.mostOpenAtOnce);
  ASSERT_EQ(1u, MessageBoxCalls().size());
  EXPECT_EQ(L"Failed create geometry", MessageBoxCalls()[0].text);
  EXPECT_EQ(0u, box.livePathsWhileOpen);
  EXPECT_EQ(1u, factory_->Paths().size());

  // Once the box is closed, the next failure is reported again.
  factory_->FailOpen(1);
  lower->BuildGeometry();
  EXPECT_EQ(1, box.mostOpenAtOnce);
  ASSERT_EQ(2u, MessageBoxCalls().size());
  EXPECT_EQ(L"Failed create sink", MessageBoxCalls()[1].text);

  // And a factory that works again builds whole pies.
  upper->BuildGeometry();
  lower->BuildGeometry();
  EXPECT_EQ(5u, factory_->LivePaths().size());
  modalBox = nullptr;
}

}  // namespace
