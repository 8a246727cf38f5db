// The painter behind the render target, driven directly: exact-area coverage of fills and
// strokes, source-over blending, aliased rendering, clipping and the DIP-to-pixel mapping, and
// the program's own charts pixel for pixel.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "chart/slice_layout.h"
#include "platform/d2d1/painter.h"
#include "platform/d2d1/tile_mask.h"

namespace {

using standin::Affine;
using standin::FillRule;
using standin::MakePaint;
using standin::Painter;
using standin::Path;
using standin::Vec2;

constexpr double kPi = std::numbers::pi;
// A pixel's alpha holds a whole number of 255ths.
constexpr double kByte = 1.0 / 255;

Path Circle(double cx, double cy, double r) {
  Path path;
  path.BeginFigure({cx - r, cy}, true);
  path.ArcTo({cx + r, cy}, r, r, 0, true, false);
  path.ArcTo({cx - r, cy}, r, r, 0, true, false);
  path.EndFigure(true);
  return path;
}

// Lines through points: a closed, filled figure, or an open, hollow one.
Path Polyline(std::initializer_list<Vec2> points, bool closed) {
  Path path;
  path.BeginFigure(*points.begin(), closed);
  for (auto p = points.begin() + 1; p != points.end(); ++p) path.LineTo(*p);
  path.EndFigure(closed);
  return path;
}

Path Rectangle(double left, double top, double right, double bottom) {
  return Polyline({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, true);
}

// An open arc of radius r, clockwise and small, from one point to the other.
Path Arc(Vec2 from, Vec2 to, double r) {
  Path path;
  path.BeginFigure(from, false);
  path.ArcTo(to, r, r, 0, true, false);
  path.EndFigure(false);
  return path;
}

// Painting opaque white onto transparent black leaves each pixel's coverage in its alpha.
double Alpha(const Painter& painter, int x, int y) {
  return (painter.Pixels().At(x, y) >> 24) / 255.0;
}

double TotalCoverage(const Painter& painter) {
  double total = 0;
  for (int y = 0; y < painter.Pixels().Height(); ++y) {
    for (int x = 0; x < painter.Pixels().Width(); ++x) total += Alpha(painter, x, y);
  }
  return total;
}

Painter Blank(int width, int height, const standin::Paint& background = MakePaint(0, 0, 0, 0, 1)) {
  Painter painter;
  painter.Resize(width, height);
  painter.Clear(background);
  return painter;
}

const standin::Paint kWhite = MakePaint(1, 1, 1, 1, 1);

// A blank painter with path filled white, or stroked white strokeWidth wide.
Painter Painted(int width, int height, const Path& path, double strokeWidth = 0.0,
                const Affine& transform = Affine{}) {
  Painter painter = Blank(width, height);
  if (strokeWidth > 0.0) {
    painter.Stroke(path, transform, strokeWidth, kWhite);
  } else {
    painter.Fill(path, transform, kWhite);
  }
  return painter;
}

// The coverage expected of a pixel, within a tolerance.
struct Probe {
  int x, y;
  double alpha, tolerance;
};

void ExpectCoverage(const Painter& painter, std::initializer_list<Probe> probes) {
  for (const Probe& p : probes) {
    EXPECT_NEAR(p.alpha, Alpha(painter, p.x, p.y), p.tolerance)
        << "at (" << p.x << ", " << p.y << ")";
  }
}

TEST(StandInPainter, FilledCircleCoversItsArea) {
  for (const double r : {6.3, 40.0, 95.5}) {
    const double area = kPi * r * r;
    EXPECT_NEAR(area, TotalCoverage(Painted(200, 200, Circle(100.3, 99.6, r))), area * 0.005)
        << "radius " << r;
  }
}

TEST(StandInPainter, EdgePixelsShowTheirExactCoverage) {
  // Right edge at x = 20.5 (half of pixel 20); bottom edge at y = 30.25 (a quarter of row 30).
  ExpectCoverage(Painted(40, 40, Rectangle(10, 10, 20.5, 30.25)), {{19, 15, 1.0, 1e-9},
                                                                   {20, 15, 0.5, kByte},
                                                                   {21, 15, 0.0, 1e-9},
                                                                   {15, 30, 0.25, kByte},
                                                                   {20, 30, 0.125, kByte},
                                                                   {9, 15, 0.0, 1e-9}});
  // A diagonal edge through a pixel's corners covers half of it.
  const Painter diagonal = Painted(20, 20, Polyline({{2, 2}, {12, 12}, {2, 12}}, true));
  ExpectCoverage(diagonal, {{5, 5, 0.5, kByte}, {4, 5, 1.0, kByte}, {6, 5, 0.0, kByte}});
  EXPECT_NEAR(50.0, TotalCoverage(diagonal), 0.05);
}

TEST(StandInPainter, HalfCoveredPixelIsHalfBlendedSourceOver) {
  Painter painter = Blank(30, 30, MakePaint(0, 0, 1, 1, 1));  // opaque blue
  painter.Fill(Rectangle(5, 5, 15.5, 25), Affine{}, MakePaint(1, 0, 0, 1, 1));
  const auto full = painter.Pixels().At(10, 10);
  const auto half = painter.Pixels().At(15, 10);
  EXPECT_EQ(0xffff0000u, full);
  EXPECT_NEAR(128, (half >> 16) & 0xff, 1);  // red
  EXPECT_NEAR(127, half & 0xff, 1);          // blue
  EXPECT_EQ(0xffu, half >> 24);
  // Half-transparent red over blue, fully covered: premultiplied source-over.
  painter.Fill(Rectangle(0, 0, 4, 4), Affine{}, MakePaint(1, 0, 0, 1, 0.5f));
  const auto glazed = painter.Pixels().At(1, 1);
  EXPECT_NEAR(128, (glazed >> 16) & 0xff, 1);
  EXPECT_NEAR(127, glazed & 0xff, 1);
  EXPECT_EQ(0xffu, glazed >> 24);
}

TEST(StandInPainter, TwoUnitStrokeCoversItsLengthTimesTwo) {
  // A straight open line with flat caps: exactly 100 x 2, spanning y 49.3 .. 51.3.
  const Painter line = Painted(200, 100, Polyline({{20.5, 50.3}, {120.5, 50.3}}, false), 2.0);
  EXPECT_NEAR(200.0, TotalCoverage(line), 0.5);
  ExpectCoverage(line, {{50, 49, 0.7, kByte}, {50, 51, 0.3, kByte}});
  // A quarter of a circle of radius 60: the ring sector has area length x width.
  const double length = 60 * kPi / 2;
  EXPECT_NEAR(length * 2, TotalCoverage(Painted(200, 200, Arc({160, 100}, {100, 160}, 60), 2.0)),
              length * 2 * 0.01);
  // A closed circle outline: 2 pi r x 2, with no gap or double cover where it closes.
  EXPECT_NEAR(2 * kPi * 50 * 2, TotalCoverage(Painted(200, 200, Circle(100, 100, 50), 2.0)),
              2 * kPi * 50 * 2 * 0.01);
}

TEST(StandInPainter, AStrokeWiderThanItsCurveCoversWhatItsRungsSweep) {
  // Half a width of 250 on a quarter circle of radius 20: each rung runs from radius 270 through
  // the centre to radius 230 beyond it, sweeping a quarter disc on either side of the centre:
  // at (150, 150) on the outer quarter (radius 212), at (440, 440) on the quarter beyond the
  // centre (radius 198), (440, 160) on neither.
  const Painter painter = Painted(600, 600, Arc({280, 300}, {300, 280}, 20), 500.0);
  ExpectCoverage(painter, {{150, 150, 1.0, 0.0}, {440, 440, 1.0, 0.0}, {440, 160, 0.0, 0.0}});
  const double sectors = kPi / 4 * (270.0 * 270.0 + 230.0 * 230.0);
  // The flattened ends stand off the radius by half a chord's turn, which trims a few percent.
  EXPECT_NEAR(sectors, TotalCoverage(painter), sectors * 0.05);

  // A full circle so stroked is a disc of radius 270: no hole where the inner side folds.
  const Painter disc = Painted(600, 600, Circle(300, 300, 20), 500.0);
  ExpectCoverage(disc, {{300, 300, 1.0, 0.0}});
  EXPECT_NEAR(kPi * 270.0 * 270.0, TotalCoverage(disc), kPi * 270.0 * 270.0 * 0.01);

  // Wider than any frame: once a piece holds the whole frame, the frame is filled and the rest
  // of the stroke skipped. Every pixel is covered, and nothing is left for the next shape.
  Painter whole =
      Painted(50, 40, Polyline({{-1000, 20}, {1000, 20}, {1000, 500}, {-900, 30}}, false), 1e30);
  EXPECT_EQ(50.0 * 40.0, TotalCoverage(whole));
  whole.Clear(MakePaint(0, 0, 0, 0, 1));
  whole.Fill(Rectangle(5, 5, 15, 10), Affine{}, kWhite);
  EXPECT_EQ(50.0, TotalCoverage(whole));
}

TEST(StandInPainter, CornersAreMiteredUpToTheLimit) {
  // A right angle with a 4-unit stroke: the miter fills the outer 2 x 2 corner square
  // (30..32, 28..30).
  const Painter painter = Painted(60, 60, Polyline({{10, 30}, {30, 30}, {30, 50}}, false), 4.0);
  ExpectCoverage(painter, {{31, 28, 1.0, 1e-6}, {33, 27, 0.0, 1e-6}});
  // Total: two 20 x 4 rectangles overlapping in 2 x 2, plus the 2 x 2 miter.
  EXPECT_NEAR(80 + 80 - 4 + 4, TotalCoverage(painter), 0.5);

  // A very sharp turn is cut off at ten half-widths from the corner, not drawn as a long spike.
  const Painter sharp = Painted(200, 60, Polyline({{10, 20}, {150, 30}, {10, 40}}, false), 2.0);
  // The outer edges would meet about 14 units past the corner, at x = 164; the cut at 10 units
  // (x = 160) leaves the spike still 0.8 wide at x = 158.5.
  auto column = [&](int x) {
    double sum = 0;
    for (int y = 0; y < 60; ++y) sum += Alpha(sharp, x, y);
    return sum;
  };
  EXPECT_NEAR(0.79, column(158), 0.05);
  for (int x = 160; x < 170; ++x) EXPECT_EQ(0.0, column(x)) << x;
}

TEST(StandInPainter, AliasedModeCoversWholePixelsByTheirCentres) {
  Painter painter = Blank(40, 40);
  painter.SetAntialiased(false);
  painter.Fill(Rectangle(10.4, 10, 20.6, 20.4), Affine{}, kWhite);
  // Centres 10.5 and 20.5 are inside the columns; 20.5 lies below 20.4.
  ExpectCoverage(painter, {{9, 15, 0.0, 0.0},
                           {10, 15, 1.0, 0.0},
                           {20, 15, 1.0, 0.0},
                           {21, 15, 0.0, 0.0},
                           {15, 20, 0.0, 0.0}});
  Painter circle = Blank(100, 100);
  circle.SetAntialiased(false);
  circle.Fill(Circle(50, 50, 30), Affine{}, kWhite);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const double a = Alpha(circle, x, y);
      ASSERT_TRUE(a == 0.0 || a == 1.0) << x << ", " << y;
    }
  }
  EXPECT_NEAR(kPi * 900, TotalCoverage(circle), kPi * 900 * 0.01);
}

TEST(StandInPainter, FillRuleDecidesTheTwiceWoundArea) {
  // Two nested squares of the same orientation.
  auto nested = [](FillRule rule) {
    Path path = Rectangle(10, 10, 50, 50);
    path.BeginFigure({20, 20}, true);
    path.LineTo({40, 20});
    path.LineTo({40, 40});
    path.LineTo({20, 40});
    path.EndFigure(true);
    path.SetFillRule(rule);
    return path;
  };
  const Painter alternate = Painted(60, 60, nested(FillRule::Alternate));
  const Painter winding = Painted(60, 60, nested(FillRule::Winding));
  ExpectCoverage(alternate, {{30, 30, 0.0, 0.0}});
  ExpectCoverage(winding, {{30, 30, 1.0, 0.0}});
  EXPECT_NEAR(1600 - 400, TotalCoverage(alternate), 0.01);
  EXPECT_NEAR(1600, TotalCoverage(winding), 0.01);
}

TEST(StandInPainter, ShapesBeyondTheBordersAreClipped) {
  Painter painter = Painted(50, 40, Rectangle(-30.5, -10, 20.5, 60));
  painter.Fill(Rectangle(45.5, 10, 90, 20), Affine{}, kWhite);
  ExpectCoverage(
      painter,
      {{0, 0, 1.0, 1e-6}, {20, 39, 0.5, kByte}, {45, 15, 0.5, kByte}, {49, 15, 1.0, 1e-6}});
  // Half-covered pixels read 128/255, a little over a half.
  EXPECT_NEAR(20.5 * 40 + 4.5 * 10, TotalCoverage(painter), 0.2);
  // Entirely outside: nothing, and nothing left over for the next shape.
  painter.Fill(Rectangle(-100, -100, -50, -50), Affine{}, kWhite);
  painter.Fill(Rectangle(100, 100, 150, 150), Affine{}, kWhite);
  EXPECT_NEAR(20.5 * 40 + 4.5 * 10, TotalCoverage(painter), 0.2);
}

TEST(StandInPainter, AClipOfTileRowsDrawsThemExactlyAsUnclipped) {
  // Only the clip's rows are rasterized; those rows must not differ by a bit from a whole draw.
  for (const bool antialiased : {true, false}) {
    SCOPED_TRACE(antialiased ? "antialiased" : "aliased");
    Painter whole = Blank(100, 130);
    Painter clipped = Blank(100, 130);
    standin::TileMask clip;
    clip.Resize(100, 130);
    clip.Mark({40, 40, 41, 70});  // the tile rows from y = 32 to 95, one tile column
    clipped.SetClip(&clip);
    for (Painter* painter : {&whole, &clipped}) {
      painter->SetAntialiased(antialiased);
      painter->Fill(Circle(50.3, 60.7, 45.2), Affine{}, kWhite);
      painter->Stroke(Circle(40.1, 20.4, 11.9), Affine{}, 3.0, MakePaint(1, 0, 0, 0.5f, 1));
      painter->Fill(Rectangle(10, 100, 90, 125), Affine{}, kWhite);  // wholly below the clip
    }
    for (int y = 0; y < 130; ++y) {
      for (int x = 0; x < 100; ++x) {
        const bool inside = y >= 32 && y < 96 && x >= 32 && x < 64;
        ASSERT_EQ(inside ? whole.Pixels().At(x, y) : 0u, clipped.Pixels().At(x, y))
            << "(" << x << ", " << y << ")";
      }
    }
  }
}

TEST(StandInPainter, ShapesBillionsOfPixelsAwayDrawNothingOrOnlyTheirPartInside) {
  for (const bool antialiased : {true, false}) {
    SCOPED_TRACE(antialiased ? "antialiased" : "aliased");
    Painter painter = Blank(30, 20);
    painter.SetAntialiased(antialiased);
    // Row numbers this far out do not fit an int.
    painter.Fill(Rectangle(5, -3e9 - 10, 25, -3e9), Affine{}, kWhite);
    painter.Fill(Rectangle(5, 3e9, 25, 3e9 + 10), Affine{}, kWhite);
    painter.Fill(Rectangle(-3e9, -3e9, -2e9, 3e9), Affine{}, kWhite);
    EXPECT_EQ(0.0, TotalCoverage(painter));
    // Reaching from far above to far below covers its columns on every row.
    painter.Fill(Rectangle(10, -3e9, 20, 3e9), Affine{}, kWhite);
    EXPECT_NEAR(10 * 20, TotalCoverage(painter), 1e-6);
    ExpectCoverage(painter, {{10, 0, 1.0, 0.0}, {19, 19, 1.0, 0.0}});
  }
}

TEST(StandInPainter, TransformMapsDipsToPixels) {
  // 120 DPI: a 100-DIP square from (8, 8) covers 125 x 125 pixels from (10, 10).
  const Painter painter =
      Painted(160, 160, Rectangle(8, 8, 108, 108), 0.0, Affine::Scale(1.25, 1.25));
  EXPECT_NEAR(125.0 * 125.0, TotalCoverage(painter), 0.01);
  ExpectCoverage(
      painter, {{10, 10, 1.0, 0.0}, {134, 134, 1.0, 0.0}, {135, 134, 0.0, 0.0}, {9, 10, 0.0, 0.0}});
  // The stroke width scales with the transform too.
  const Painter stroked =
      Painted(200, 100, Polyline({{10, 20}, {110, 20}}, false), 2.0, Affine::Scale(1.5, 1.5));
  EXPECT_NEAR(150.0 * 3.0, TotalCoverage(stroked), 1.0);
}

namespace core = standin;

// The program's two charts as the chart lays them out (slice_layout.h) and the stand-in draws
// them: every wedge filled, the upper chart's outlined two units wide; selected is the upper
// chart's pulled-out slice. Returns an FNV-1a hash of the frame's pixels.
std::uint64_t ChartFrameHash(int width, int height, float dpi, int selected, float offset) {
  core::Painter painter =
      Blank(width, height, core::MakePaint(0.0f, 82.0f / 255.0f, 121.0f / 255.0f, 1.0f, 1.0f));
  const double scale = dpi / 96.0;
  const core::Affine toPixels = core::Affine::Scale(scale, scale);
  const float widthInDips = static_cast<float>(width) * (96.0f / dpi);
  struct Chart {
    float width, top, height;
    bool outlined;
    std::vector<float> values;
  };
  const Chart charts[] = {{400, 10, 200, true, {10, 150, 37, 88, 120, 64, 10, 99, 142, 51}},
                          {300, 220, 300, false, {150, 10, 10, 72, 130, 45, 18}}};
  const core::Paint outline = core::MakePaint(192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1, 1);
  for (const Chart& chart : charts) {
    const float left = (widthInDips - chart.width) / 2.0f;
    const PieEllipse pie = EllipseInRectangle(left, chart.top, chart.width, chart.height);
    const float total = PieTotal(chart.values);
    float start = 0.0f;
    for (std::size_t i = 0; i < chart.values.size(); ++i) {
      const float end = start + 360.0f * (chart.values[i] / total);
      const bool pulled = chart.outlined && static_cast<int>(i) == selected;
      const SliceFigure f = LayOutSlice(pie, start, end, pulled, offset);
      start = end;
      core::Path path;
      path.BeginFigure({f.apex.x, f.apex.y}, true);
      path.LineTo({f.rimStart.x, f.rimStart.y});
      path.ArcTo({f.rimEnd.x, f.rimEnd.y}, pie.rx, pie.ry, 0.0, false,
                 f.arcSize == D2D1_ARC_SIZE_LARGE);
      path.EndFigure(true);
      const float shade = static_cast<float>(i + 1) / static_cast<float>(chart.values.size() + 1);
      painter.Fill(path, toPixels, core::MakePaint(shade, 1.0f - shade, 0.5f, 1.0f, 1.0f));
      if (chart.outlined) painter.Stroke(path, toPixels, 2.0, outline);
    }
  }
  std::uint64_t hash = 14695981039346656037ull;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      hash = (hash ^ painter.Pixels().At(x, y)) * 1099511628211ull;
    }
  }
  return hash;
}

TEST(StandInPainter, TheProgramsChartsKeepTheirPixels) {
  // Recorded from the drawing core before it learned to cut curves outside the frame and to
  // bound its work. Any change to how the program's wedges are drawn shows here; when one is
  // meant, record the new hashes.
  struct Scene {
    int width, height;
    float dpi;
    int selected;
    float offset;
    std::uint64_t hash;
  };
  const Scene scenes[] = {
      {512, 540, 96, 3, 20, 0x6b8dbbf4de6b5ca9ull},    // the window as it opens, a slice out
      {640, 675, 120, 0, 7, 0x7d910e130f2c1f2full},    // at 120 DPI, a slice on its way out
      {200, 540, 96, -1, 0, 0x8bb4b9cf53739667ull},    // narrower than the charts
      {1280, 300, 120, 8, 13, 0x31735691e3d1a818ull},  // wide and short
      {37, 610, 144, 1, 20, 0xddf373a5e7d211dfull},    // a sliver at 144 DPI
  };
  for (const Scene& s : scenes) {
    EXPECT_EQ(s.hash, ChartFrameHash(s.width, s.height, s.dpi, s.selected, s.offset))
        << s.width << " x " << s.height << " at " << s.dpi << " DPI";
  }
}

}  // namespace
