#include <gtest/gtest.h>

#include <vector>

#include "chart/pie_chart.h"
#include "palette/palette_colours.h"
#include "palette/palettes.h"
#include "tests/core/chart_test_support.h"
#include "tests/support/records.h"
#include "tests/support/recording_factory.h"
#include "tests/support/recording_render_target.h"

namespace {

using namespace chart_test;

// The upper chart's outline colour.
constexpr D2D1_COLOR_F kSilver = {192.0f / 255.0f, 192.0f / 255.0f, 192.0f / 255.0f, 1.0f};

class PieChartDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    factory_ = orb::MakeComObject<RecordingFactory>();
    target_ = orb::MakeComObject<RecordingRenderTarget>();
    palette_ = orb::MakeComObject<FakePalette>(11);
  }

  // A chart with n equal slices, built and handed the render target; the log starts empty.
  ComPtr<IPieChart> Ready(bool upper, int slices) {
    auto chart = BuiltChart(upper, helper_.Get(), factory_.Get(), palette_.Get(),
                            std::vector<float>(static_cast<size_t>(slices), 1.0f));
    RenderableOf(chart.Get())->CreateDeviceResources(target_.Get());
    outline_ = target_->Calls().at(0).createdBrush;
    target_->ForgetCalls();
    palette_->requests.clear();
    palette_->grayQueries = 0;
    return chart;
  }

  void Draw(IPieChart* chart) { RenderableOf(chart)->Draw(nullptr); }

  ComPtr<ID2DHelper> helper_ = MakeHelper();
  ComPtr<RecordingFactory> factory_;
  ComPtr<RecordingRenderTarget> target_;
  ComPtr<FakePalette> palette_;
  ID2D1SolidColorBrush* outline_ = nullptr;  // the chart's outline brush on target_
};

TEST_F(PieChartDrawing, DeviceResourcesAreTheOutlineBrushOfTheOutlineColour) {
  auto chart = MakeUpperChart(helper_.Get(), factory_.Get(), palette_.Get());
  RenderableOf(chart.Get())->CreateDeviceResources(target_.Get());
  ASSERT_EQ(1u, target_->Calls().size());
  const RenderCall& made = target_->Calls()[0];
  EXPECT_EQ(RenderOp::CreateSolidColorBrush, made.op);
  EXPECT_EQ(kSilver, made.color);
  ASSERT_TRUE(made.hasBrushProperties);
  EXPECT_EQ(1.0f, made.brushProperties.opacity);
  EXPECT_EQ(helper_->MakeIdentityMatrix(), made.brushProperties.transform);

  auto lower = MakeLowerChart(helper_.Get(), factory_.Get(), palette_.Get());
  RenderableOf(lower.Get())->CreateDeviceResources(target_.Get());
  EXPECT_EQ((D2D1_COLOR_F{0.0f, 0.0f, 0.0f, 1.0f}), target_->Calls().back().color);
}

TEST_F(PieChartDrawing, EachSliceIsFilledThenOutlinedInIndexOrder) {
  auto chart = Ready(true, 3);
  Draw(chart.Get());
  const auto& calls = target_->Calls();
  ASSERT_EQ(6u, calls.size());
  const auto live = factory_->LivePaths();
  ASSERT_EQ(3u, live.size());
  for (size_t i = 0; i < 3; ++i) {
    const RenderCall& fill = calls[2 * i];
    const RenderCall& stroke = calls[2 * i + 1];
    ASSERT_EQ(RenderOp::FillGeometry, fill.op);
    ASSERT_EQ(RenderOp::DrawGeometry, stroke.op);
    EXPECT_EQ(live[i]->geometry, fill.geometry);
    EXPECT_EQ(live[i]->geometry, stroke.geometry);
    EXPECT_EQ(FakePalette::ColourOf(static_cast<int>(i), false), fill.color);
    EXPECT_EQ(nullptr, fill.opacityBrush);
    EXPECT_EQ(static_cast<ID2D1Brush*>(outline_), stroke.brush);
    EXPECT_EQ(2.0f, stroke.strokeWidth);
    EXPECT_EQ(nullptr, stroke.strokeStyle);
    EXPECT_EQ(kSilver, stroke.color);
  }
}

TEST_F(PieChartDrawing, NewOutlinesTakeNewBrushesAndTheSelectedOutlineIsDrawnLast) {
  auto chart = Ready(false, 3);  // the lower chart: no outline
  chart->SetOutline(255, 255, 255, 2.0f);
  chart->SetSelectedOutline(255, 255, 0, 3.0f);
  const auto made = target_->CallsOf(RenderOp::CreateSolidColorBrush);
  ASSERT_EQ(2u, made.size()) << "each outline's brush is made on the render target at once";
  chart->SelectSlice(1);
  chart->BuildGeometry();
  target_->ForgetCalls();
  Draw(chart.Get());
  // Fill 0, outline 0, fill 1, fill 2, outline 2, then the selected slice's own outline.
  std::vector<std::pair<RenderOp, D2D1_COLOR_F>> drawn;
  std::vector<FLOAT> widths;
  for (const RenderCall& call : target_->Calls()) {
    if (call.op == RenderOp::DrawGeometry) widths.push_back(call.strokeWidth);
    drawn.emplace_back(call.op, call.op == RenderOp::DrawGeometry ? call.color : D2D1_COLOR_F{});
  }
  const D2D1_COLOR_F white{1.0f, 1.0f, 1.0f, 1.0f};
  const D2D1_COLOR_F yellow{1.0f, 1.0f, 0.0f, 1.0f};
  const std::vector<std::pair<RenderOp, D2D1_COLOR_F>> expected{
      {RenderOp::FillGeometry, {}},    {RenderOp::DrawGeometry, white},
      {RenderOp::FillGeometry, {}},    {RenderOp::FillGeometry, {}},
      {RenderOp::DrawGeometry, white}, {RenderOp::DrawGeometry, yellow}};
  EXPECT_EQ(expected, drawn);
  EXPECT_EQ((std::vector<FLOAT>{2.0f, 2.0f, 3.0f}), widths);
  EXPECT_EQ(factory_->LivePaths()[1]->geometry, target_->Calls().back().geometry);

  // Width 0 again: the selected slice is outlined as the others, or not at all.
  chart->SetSelectedOutline(0, 0, 0, 0.0f);
  chart->SetOutline(0, 0, 0, 0.0f);
  target_->ForgetCalls();
  Draw(chart.Get());
  EXPECT_TRUE(target_->CallsOf(RenderOp::DrawGeometry).empty());
}

TEST_F(PieChartDrawing, GrayLeavesOnlyTheSelectedSliceInColour) {
  auto chart = Ready(false, 4);
  palette_->gray = -1;
  chart->SelectSlice(2);
  chart->BuildGeometry();
  Draw(chart.Get());
  ASSERT_EQ(4u, palette_->requests.size());
  EXPECT_EQ(4, palette_->grayQueries);  // asked once per slice
  for (INT32 i = 0; i < 4; ++i) {
    const auto& request = palette_->requests[static_cast<size_t>(i)];
    EXPECT_EQ(i, request.index);
    ASSERT_TRUE(request.hasGray);
    EXPECT_EQ(i == 2 ? 0 : -1, request.gray) << i;
  }
  const auto fills = target_->CallsOf(RenderOp::FillGeometry);
  ASSERT_EQ(4u, fills.size());
  EXPECT_EQ(FakePalette::ColourOf(2, false), fills[2].color);
  EXPECT_EQ(FakePalette::ColourOf(3, true), fills[3].color);

  // Any nonzero gray flag counts; without a selection every slice is gray.
  palette_->gray = 5;
  palette_->requests.clear();
  chart->SelectSlice(-1);
  Draw(chart.Get());
  for (const auto& request : palette_->requests) EXPECT_EQ(-1, request.gray);

  // In colour the selection makes no difference.
  palette_->gray = 0;
  palette_->requests.clear();
  chart->SelectSlice(1);
  Draw(chart.Get());
  ASSERT_EQ(4u, palette_->requests.size());
  for (const auto& request : palette_->requests) EXPECT_EQ(0, request.gray);
}

TEST_F(PieChartDrawing, NoOutlineWithoutWidthOrWithoutItsBrush) {
  auto lower = Ready(false, 3);  // outline width 0
  Draw(lower.Get());
  EXPECT_EQ(3u, target_->CallsOf(RenderOp::FillGeometry).size());
  EXPECT_TRUE(target_->CallsOf(RenderOp::DrawGeometry).empty());

  auto upper = Ready(true, 3);
  target_->FailBrushCreation(1);
  RenderableOf(upper.Get())->CreateDeviceResources(target_.Get());
  target_->ForgetCalls();
  Draw(upper.Get());
  EXPECT_EQ(3u, target_->CallsOf(RenderOp::FillGeometry).size());
  EXPECT_TRUE(target_->CallsOf(RenderOp::DrawGeometry).empty());
}

TEST_F(PieChartDrawing, TwentySlicesWrapRoundAnElevenColourPalette) {
  ComPtr<IPalette> fire;
  NewFirePalette(&fire, helper_.Get(), factory_.Get());
  ASSERT_TRUE(fire);
  ComPtr<IRenderable> fireResources;
  ASSERT_EQ(S_OK, fire.As(&fireResources));
  fireResources->CreateDeviceResources(target_.Get());

  auto chart = Ready(true, 20);
  chart->SetPalette(fire.Get());
  Draw(chart.Get());
  const auto fills = target_->CallsOf(RenderOp::FillGeometry);
  ASSERT_EQ(20u, fills.size());
  ASSERT_EQ(11u, palette_colours::Fire.size());
  for (size_t i = 0; i < fills.size(); ++i) {
    const RgbColour& expected = palette_colours::Fire[i % 11];
    ASSERT_TRUE(fills[i].hasColor);
    EXPECT_FLOAT_EQ(expected.red / 255.0f, fills[i].color.r) << i;
    EXPECT_FLOAT_EQ(expected.green / 255.0f, fills[i].color.g) << i;
    EXPECT_FLOAT_EQ(expected.blue / 255.0f, fills[i].color.b) << i;
  }
  EXPECT_EQ(fills[0].brush, fills[11].brush);
  EXPECT_EQ(20u, target_->CallsOf(RenderOp::DrawGeometry).size());
  fireResources->DiscardDeviceResources();
}

TEST_F(PieChartDrawing, NothingIsDrawnWithoutBrushesPaletteTargetOrPaths) {
  auto chart = Ready(true, 4);
  palette_->hasBrushes = false;
  Draw(chart.Get());
  EXPECT_EQ(4u, palette_->requests.size());
  EXPECT_TRUE(target_->Calls().empty());

  palette_->hasBrushes = true;
  chart->SetPalette(nullptr);
  Draw(chart.Get());
  EXPECT_TRUE(target_->Calls().empty());

  chart->SetPalette(palette_.Get());
  SetChartValues(chart.Get(), {1.0f, 2.0f});  // paths not rebuilt yet
  Draw(chart.Get());
  EXPECT_TRUE(target_->Calls().empty());

  chart->BuildGeometry();
  RenderableOf(chart.Get())->DiscardDeviceResources();
  Draw(chart.Get());
  EXPECT_TRUE(target_->Calls().empty());
}

TEST_F(PieChartDrawing, AFailedBuildDrawsOnlyTheSlicesItMade) {
  auto chart = Ready(true, 5);
  factory_->FailPathCreation(4);
  chart->BuildGeometry();
  Draw(chart.Get());
  EXPECT_EQ(3u, target_->CallsOf(RenderOp::FillGeometry).size());
  EXPECT_EQ(3u, palette_->requests.size());
  MessageBoxCalls().clear();
}

TEST_F(PieChartDrawing, DeviceResourcesAreReplacedAndGivenUp) {
  auto chart = Ready(true, 2);
  const LONG withResources = orb::LiveObjectCount();
  auto other = orb::MakeComObject<RecordingRenderTarget>();
  RenderableOf(chart.Get())->CreateDeviceResources(other.Get());
  // One more target; the first outline brush went when the second was made.
  EXPECT_EQ(withResources + 1, orb::LiveObjectCount());
  RenderableOf(chart.Get())->DiscardDeviceResources();
  EXPECT_EQ(withResources, orb::LiveObjectCount());
  // The chart holds neither target any more: ours are the last references.
  other->AddRef();
  EXPECT_EQ(1u, other->Release());
  target_->AddRef();
  EXPECT_EQ(1u, target_->Release());
  // The paths are device-independent and survive.
  EXPECT_EQ(2u, factory_->LivePaths().size());
}

}  // namespace
