// Geometry far outside what the program draws, through the public API of the built d2d1.dll:
// radii of 1e20, curves millions of units away, a stroke wider than its circle, control points
// at the float's limit. Each case prints how long its calls took (figures only) and asserts
// what they drew or answered and the memory they needed and kept.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "d2d1_test_support.h"

namespace {

using d2d1test::Brush;
using d2d1test::ComPtr;
using d2d1test::CountPixels;
using d2d1test::FillContains;
using d2d1test::MakeFactory;
using d2d1test::MakePath;
using d2d1test::MakeTarget;
using d2d1test::Rgb;
using d2d1test::TestWindow;

constexpr double kMiB = 1024.0 * 1024.0;
// What one call may need beyond the frame's own buffers, and what it may keep afterwards.
constexpr double kCallBudgetMiB = 64.0;
constexpr double kKeptMiB = 4.0;

// Wine 8 reports no PrivateUsage; its commit charge (PagefileUsage) is the same figure.
struct Memory {
  double commit = 0.0, peak = 0.0;
};

Memory ReadMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return {static_cast<double>(counters.PagefileUsage),
          static_cast<double>(counters.PeakPagefileUsage)};
}

double NowMilliseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Runs call, prints its time and memory, and checks the memory against the bounds.
void Measure(const char* name, const std::function<void()>& call) {
  const Memory before = ReadMemory();
  const double start = NowMilliseconds();
  call();
  const double elapsed = NowMilliseconds() - start;
  const Memory after = ReadMemory();
  // The peak is the process's; a rise in it is what this call needed above all before it.
  const double needed = std::max(0.0, after.peak - std::max(before.peak, before.commit));
  const double kept = (after.commit - before.commit) / kMiB;
  std::printf("[ extreme  ] %-58s %9.2f ms  peak +%.1f MiB  kept %+.1f MiB\n", name, elapsed,
              needed / kMiB, kept);
  EXPECT_LE(needed / kMiB, kCallBudgetMiB) << name;
  EXPECT_LE(kept, kKeptMiB) << name;
}

// One figure per start point, each an arc to its end point and closed.
ComPtr<ID2D1PathGeometry> Arcs(ID2D1Factory* factory, int figures, D2D1_POINT_2F from,
                               D2D1_POINT_2F to, float radius, D2D1_FILL_MODE mode) {
  return MakePath(factory, [&](ID2D1GeometrySink* sink) {
    sink->SetFillMode(mode);
    for (int i = 0; i < figures; ++i) {
      sink->BeginFigure(from, D2D1_FIGURE_BEGIN_FILLED);
      sink->AddArc(d2d1test::Arc(to.x, to.y, radius, radius));
      sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    }
  });
}

// A frame: cleared to black, drawn, presented.
void DrawFrame(ID2D1HwndRenderTarget* target, const std::function<void()>& draw) {
  target->BeginDraw();
  const D2D1_COLOR_F black = Rgb(0, 0, 0);
  target->Clear(&black);
  draw();
  EXPECT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
}

class StandInExtremeGeometry : public testing::Test {
 protected:
  void SetUp() override {
    factory_ = MakeFactory();
    target_ = MakeTarget(factory_.Get(), window_.Handle(), 512, 540, 96.0f);
    ASSERT_TRUE(target_);
    white_ = Brush(target_.Get(), Rgb(1, 1, 1));
    ASSERT_TRUE(white_);
    // The frame's buffers exist before anything is measured.
    Frame([] {});
  }

  // A frame on target (target_ unless given), and what the window shows then.
  std::vector<std::uint32_t> Frame(const std::function<void()>& draw,
                                   ID2D1HwndRenderTarget* target = nullptr) {
    DrawFrame(target != nullptr ? target : target_.Get(), draw);
    return window_.Capture();
  }
  // The same, measured from BeginDraw to EndDraw: a window target draws a frame's calls when the
  // frame ends.
  std::vector<std::uint32_t> MeasuredFrame(const char* name, const std::function<void()>& draw,
                                           ID2D1HwndRenderTarget* target = nullptr) {
    Measure(name, [&] { DrawFrame(target != nullptr ? target : target_.Get(), draw); });
    return window_.Capture();
  }
  // A measured frame that fills geometry in white, or strokes it strokeWidth wide.
  std::vector<std::uint32_t> MeasuredWhite(const char* name, ID2D1Geometry* geometry,
                                           float strokeWidth = 0.0f) {
    return MeasuredFrame(name, [&] {
      strokeWidth > 0.0f ? target_->DrawGeometry(geometry, white_.Get(), strokeWidth, nullptr)
                         : target_->FillGeometry(geometry, white_.Get(), nullptr);
    });
  }

  TestWindow window_{512, 540};
  ComPtr<ID2D1Factory> factory_;
  ComPtr<ID2D1HwndRenderTarget> target_;
  ComPtr<ID2D1SolidColorBrush> white_;
};

TEST_F(StandInExtremeGeometry, ArcsOfHugeRadiusHugTheirChord) {
  const Memory start = ReadMemory();
  // Radius 1e20 over a chord of 10: the arc bulges by 1.25e-19 and encloses nothing.
  auto flat = Arcs(factory_.Get(), 1000, {0, 100}, {10, 100}, 1e20f, D2D1_FILL_MODE_ALTERNATE);
  ASSERT_TRUE(flat);
  auto pixels = MeasuredWhite("1000 arcs of radius 1e20: FillGeometry", flat.Get());
  EXPECT_EQ(512 * 540, CountPixels(pixels, 0x000000u));
  BOOL onChord = FALSE;
  Measure("1000 arcs of radius 1e20: FillContainsPoint", [&] {
    onChord = FillContains(flat.Get(), {5, 100.2f});
  });
  EXPECT_TRUE(onChord);  // within the default tolerance of 0.25
  EXPECT_FALSE(FillContains(flat.Get(), {5, 100.3f}));

  ASSERT_MADE(one, Arcs(factory_.Get(), 1, {0, 100}, {10, 100}, 1e20f, D2D1_FILL_MODE_ALTERNATE));
  D2D1_RECT_F bounds{};
  Measure("GetBounds of one arc of radius 1e20",
          [&] { EXPECT_EQ(S_OK, one->GetBounds(nullptr, &bounds)); });
  d2d1test::ExpectBounds(bounds, 0, 100, 10, 100, 0.0);
  // A quarter of the same huge circle, seen through a transform that shrinks it to 100 units.
  const D2D1_MATRIX_3X2_F shrink = {{{1e-18f, 0, 0, 1e-18f, 0, 0}}};
  auto quarter = MakePath(factory_.Get(), [](ID2D1GeometrySink* sink) {
    sink->BeginFigure({1e20f, 0}, D2D1_FIGURE_BEGIN_HOLLOW);
    sink->AddArc(d2d1test::Arc(0, 1e20f, 1e20f, 1e20f));
    sink->EndFigure(D2D1_FIGURE_END_OPEN);
  });
  ASSERT_TRUE(quarter);
  ASSERT_EQ(S_OK, quarter->GetBounds(&shrink, &bounds));
  d2d1test::ExpectBounds(bounds, 0, 0, 100, 100, 1e-3);
  EXPECT_LE((ReadMemory().commit - start.commit) / kMiB, kKeptMiB);
}

TEST_F(StandInExtremeGeometry, CurvesFarOutsideTheFrameCostOnlyTheirChords) {
  // Half discs of radius 1e7 from (0, -3e7) to (2e7, -3e7), over the top: all far above.
  auto above = Arcs(factory_.Get(), 1000, {0, -3e7f}, {2e7f, -3e7f}, 1e7f, D2D1_FILL_MODE_WINDING);
  ASSERT_TRUE(above);
  const std::vector<std::uint32_t> pixels =
      MeasuredWhite("1000 half circles of radius 1e7 above the frame: FillGeometry", above.Get());
  EXPECT_EQ(512 * 540, CountPixels(pixels, 0x000000u));
  BOOL inside = FALSE;
  Measure("1000 half circles of radius 1e7: FillContainsPoint", [&] {
    inside = FillContains(above.Get(), {1e7f, -3.5e7f});
  });
  EXPECT_TRUE(inside);
  EXPECT_FALSE(FillContains(above.Get(), {1e7f, -2.5e7f}));  // below the diameter
  EXPECT_FALSE(FillContains(above.Get(), {100, 100}));
}

TEST_F(StandInExtremeGeometry, StrokesOfHugeCirclesAndWideOutlines) {
  const Memory start = ReadMemory();
  // A circle of radius 1e7 whose top touches row 270, traced 100 times in one figure.
  const float cx = 256, cy = 1e7f + 270;
  auto circle = MakePath(factory_.Get(), [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure({cx - 1e7f, cy}, D2D1_FIGURE_BEGIN_HOLLOW);
    for (int i = 0; i < 100; ++i) {
      sink->AddArc(d2d1test::Arc(cx + 1e7f, cy, 1e7f, 1e7f));
      sink->AddArc(d2d1test::Arc(cx - 1e7f, cy, 1e7f, 1e7f));
    }
    sink->EndFigure(D2D1_FIGURE_END_OPEN);
  });
  ASSERT_TRUE(circle);
  auto pixels = MeasuredWhite("a circle of radius 1e7 traced 100 times: DrawGeometry, width 2",
                              circle.Get(), 2);
  // Across the frame the circle falls by a few thousandths of a pixel: a band on rows 269 and
  // 270. (Row 271 gets the hundred traces' slivers of cover added up.)
  constexpr std::ptrdiff_t kRow = 512;
  const std::vector<std::uint32_t> band(pixels.begin() + 269 * kRow, pixels.begin() + 271 * kRow);
  EXPECT_EQ(2 * 512, CountPixels(band, 0xffffffu));
  EXPECT_EQ(269 * 512,
            static_cast<int>(std::count(pixels.begin(), pixels.begin() + 269 * kRow, 0x000000u)));
  EXPECT_EQ(268 * 512,
            static_cast<int>(std::count(pixels.begin() + 272 * kRow, pixels.end(), 0x000000u)));

  // Half the width exceeds the radius: the stroke is a disc of radius 2.5e6 over the frame.
  ASSERT_MADE(wide, MakeTarget(factory_.Get(), window_.Handle(), 2048, 2048, 96.0f));
  auto wideWhite = Brush(wide.Get(), Rgb(1, 1, 1));
  Frame([] {}, wide.Get());
  const D2D1_ELLIPSE ellipse = {{1024, 1024}, 1e6f, 1e6f};
  pixels = MeasuredFrame(
      "DrawEllipse radius 1e6, width 3e6, 2048 x 2048",
      [&] { wide->DrawEllipse(&ellipse, wideWhite.Get(), 3e6f, nullptr); }, wide.Get());
  EXPECT_EQ(512 * 540, CountPixels(pixels, 0xffffffu));
  wide.Reset();

  // Every point of the curves at the float's limit, drawn and filled; a square drawn next must
  // come out exactly, with nothing left over in the rasterizer.
  std::mt19937 random(13);
  auto limit = [&] { return (random() & 1) != 0 ? FLT_MAX : -FLT_MAX; };
  auto cubics = MakePath(factory_.Get(), [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure({256, 270}, D2D1_FIGURE_BEGIN_FILLED);
    for (int i = 0; i < 2000; ++i) {
      const D2D1_BEZIER_SEGMENT bezier = {
          {limit(), limit()}, {limit(), limit()}, {limit(), limit()}};
      sink->AddBezier(&bezier);
    }
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  auto square = d2d1test::Polygon(factory_.Get(), {{100, 100}, {140, 100}, {140, 130}, {100, 130}});
  ASSERT_TRUE(cubics && square);
  auto red = Brush(target_.Get(), Rgb(1, 0, 0));
  for (const bool stroke : {true, false}) {
    MeasuredWhite(stroke ? "2000 cubics reaching FLT_MAX: DrawGeometry, width 2"
                         : "2000 cubics reaching FLT_MAX: FillGeometry",
                  cubics.Get(), stroke ? 2.0f : 0.0f);
    pixels = Frame([&] { target_->FillGeometry(square.Get(), red.Get(), nullptr); });
    EXPECT_EQ(40 * 30, CountPixels(pixels, 0xff0000u));
    EXPECT_EQ(512 * 540 - 40 * 30, CountPixels(pixels, 0x000000u));
  }
  const double kept = (ReadMemory().commit - start.commit) / kMiB;
  std::printf("[ extreme  ] %-58s %+.1f MiB\n", "memory kept after all of the above", kept);
  EXPECT_LE(kept, kKeptMiB);
}

}  // namespace
