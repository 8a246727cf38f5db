// The painter behind the render target, driven directly: exact-area coverage of fills and
// strokes, source-over blending, aliased rendering, clipping and the DIP-to-pixel mapping, and
// the program's own charts pixel for pixel.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

constexpr double kPi = std::numbers::pi;

Path Circle(double cx, double cy, double r) {
  Path path;
  path.BeginFigure({cx - r, cy}, true);
  path.ArcTo({cx + r, cy}, r, r, 0, true, false);
  path.ArcTo({cx - r, cy}, r, r, 0, true, false);
  path.EndFigure(true);
  return path;
}

Path Rectangle(double left, double top, double right, double bottom) {
  Path path;
  path.BeginFigure({left, top}, true);
  path.LineTo({right, top});
  path.LineTo({right, bottom});
  path.LineTo({left, bottom});
  path.EndFigure(true);
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

Painter Blank(int width, int height) {
  Painter painter;
  painter.Resize(width, height);
  painter.Clear(MakePaint(0, 0, 0, 0, 1));
  return painter;
}

const standin::Paint kWhite = MakePaint(1, 1, 1, 1, 1);

TEST(StandInPainter, FilledCircleCoversItsArea) {
  for (const double r : {6.3, 40.0, 95.5}) {
    Painter painter = Blank(200, 200);
    painter.Fill(Circle(100.3, 99.6, r), Affine{}, kWhite);
    const double area = kPi * r * r;
    EXPECT_NEAR(area, TotalCoverage(painter), area * 0.005) << "radius " << r;
  }
}

TEST(StandInPainter, EdgePixelsShowTheirExactCoverage) {
  Painter painter = Blank(40, 40);
  // Right edge at x = 20.5 (half of pixel 20); bottom edge at y = 30.25 (a quarter of row 30).
  painter.Fill(Rectangle(10, 10, 20.5, 30.25), Affine{}, kWhite);
  EXPECT_NEAR(1.0, Alpha(painter, 19, 15), 1e-9);
  EXPECT_NEAR(0.5, Alpha(painter, 20, 15), 1.0 / 255);
  EXPECT_NEAR(0.0, Alpha(painter, 21, 15), 1e-9);
  EXPECT_NEAR(0.25, Alpha(painter, 15, 30), 1.0 / 255);
  EXPECT_NEAR(0.125, Alpha(painter, 20, 30), 1.0 / 255);
  EXPECT_NEAR(0.0, Alpha(painter, 9, 15), 1e-9);
  // A diagonal edge through a pixel's corners covers half of it.
  Painter diagonal = Blank(20, 20);
  Path triangle;
  triangle.BeginFigure({2, 2}, true);
  triangle.LineTo({12, 12});
  triangle.LineTo({2, 12});
  triangle.EndFigure(true);
  diagonal.Fill(triangle, Affine{}, kWhite);
  EXPECT_NEAR(0.5, Alpha(diagonal, 5, 5), 1.0 / 255);
  EXPECT_NEAR(1.0, Alpha(diagonal, 4, 5), 1.0 / 255);
  EXPECT_NEAR(0.0, Alpha(diagonal, 6, 5), 1.0 / 255);
  EXPECT_NEAR(50.0, TotalCoverage(diagonal), 0.05);
}

TEST(StandInPainter, HalfCoveredPixelIsHalfBlendedSourceOver) {
  Painter painter;
  painter.Resize(30, 30);
  painter.Clear(MakePaint(0, 0, 1, 1, 1));  // opaque blue
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
  // A straight open line with flat caps: exactly 100 x 2.
  Painter line = Blank(200, 100);
  Path segment;
  segment.BeginFigure({20.5, 50.3}, false);
  segment.LineTo({120.5, 50.3});
  segment.EndFigure(false);
  line.Stroke(segment, Affine{}, 2.0, kWhite);
  EXPECT_NEAR(200.0, TotalCoverage(line), 0.5);
  EXPECT_NEAR(0.7, Alpha(line, 50, 49), 1.0 / 255);  // the stroke spans y 49.3 .. 51.3
  EXPECT_NEAR(0.3, Alpha(line, 50, 51), 1.0 / 255);

  // A quarter of a circle of radius 60: the ring sector has area length x width.
  Painter arc = Blank(200, 200);
  Path quarter;
  quarter.BeginFigure({160, 100}, false);
  quarter.ArcTo({100, 160}, 60, 60, 0, true, false);
  quarter.EndFigure(false);
  arc.Stroke(quarter, Affine{}, 2.0, kWhite);
  const double length = 60 * kPi / 2;
  EXPECT_NEAR(length * 2, TotalCoverage(arc), length * 2 * 0.01);

  // A closed circle outline: 2 pi r x 2, with no gap or double cover where it closes.
  Painter ring = Blank(200, 200);
  ring.Stroke(Circle(100, 100, 50), Affine{}, 2.0, kWhite);
  EXPECT_NEAR(2 * kPi * 50 * 2, TotalCoverage(ring), 2 * kPi * 50 * 2 * 0.01);
}

TEST(StandInPainter, AStrokeWiderThanItsCurveCoversWhatItsRungsSweep) {
  // Half a width of 250 on a quarter circle of radius 20: each rung runs from radius 270 through
  // the centre to radius 230 beyond it, sweeping a quarter disc on either side of the centre.
  Painter painter = Blank(600, 600);
  Path quarter;
  quarter.BeginFigure({280, 300}, false);
  quarter.ArcTo({300, 280}, 20, 20, 0, true, false);
  quarter.EndFigure(false);
  painter.Stroke(quarter, Affine{}, 500.0, kWhite);
  EXPECT_EQ(1.0, Alpha(painter, 150, 150));  // on the outer quarter, at radius 212
  EXPECT_EQ(1.0, Alpha(painter, 440, 440));  // on the quarter beyond the centre, at radius 198
  EXPECT_EQ(0.0, Alpha(painter, 440, 160));  // on neither
  const double sectors = kPi / 4 * (270.0 * 270.0 + 230.0 * 230.0);
  // The flattened ends stand off the radius by half a chord's turn, which trims a few percent.
  EXPECT_NEAR(sectors, TotalCoverage(painter), sectors * 0.05);

  // A full circle so stroked is a disc of radius 270: no hole where the inner side folds.
  Painter disc = Blank(600, 600);
  disc.Stroke(Circle(300, 300, 20), Affine{}, 500.0, kWhite);
  EXPECT_EQ(1.0, Alpha(disc, 300, 300));
  EXPECT_NEAR(kPi * 270.0 * 270.0, TotalCoverage(disc), kPi * 270.0 * 270.0 * 0.01);

  // Wider than any frame: once a piece holds the whole frame, the frame is filled and the rest
  // of the stroke skipped. Every pixel is covered, and nothing is left for the next shape.
  Painter whole = Blank(50, 40);
  Path zigzag;
  zigzag.BeginFigure({-1000, 20}, false);
  zigzag.LineTo({1000, 20});
  zigzag.LineTo({1000, 500});
  zigzag.LineTo({-900, 30});
  zigzag.EndFigure(false);
  whole.Stroke(zigzag, Affine{}, 1e30, kWhite);
  EXPECT_EQ(50.0 * 40.0, TotalCoverage(whole));
  whole.Clear(MakePaint(0, 0, 0, 0, 1));
  whole.Fill(Rectangle(5, 5, 15, 10), Affine{}, kWhite);
  EXPECT_EQ(50.0, TotalCoverage(whole));
}

TEST(StandInPainter, CornersAreMiteredUpToTheLimit) {
  // A right angle with a 4-unit stroke: the miter fills the outer 2 x 2 corner square.
  Painter painter = Blank(60, 60);
  Path corner;
  corner.BeginFigure({10, 30}, false);
  corner.LineTo({30, 30});
  corner.LineTo({30, 50});
  corner.EndFigure(false);
  painter.Stroke(corner, Affine{}, 4.0, kWhite);
  EXPECT_NEAR(1.0, Alpha(painter, 31, 28), 1e-6);  // inside the miter square (30..32, 28..30)
  EXPECT_NEAR(0.0, Alpha(painter, 33, 27), 1e-6);
  // Total: two 20 x 4 rectangles overlapping in 2 x 2, plus the 2 x 2 miter.
  EXPECT_NEAR(80 + 80 - 4 + 4, TotalCoverage(painter), 0.5);

  // A very sharp turn is cut off at ten half-widths from the corner, not drawn as a long spike.
  Painter sharp = Blank(200, 60);
  Path spike;
  spike.BeginFigure({10, 20}, false);
  spike.LineTo({150, 30});
  spike.LineTo({10, 40});
  spike.EndFigure(false);
  sharp.Stroke(spike, Affine{}, 2.0, kWhite);
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
  EXPECT_EQ(0.0, Alpha(painter, 9, 15));
  EXPECT_EQ(1.0, Alpha(painter, 10, 15));  // centre 10.5 is inside
  EXPECT_EQ(1.0, Alpha(painter, 20, 15));  // centre 20.5 is inside
  EXPECT_EQ(0.0, Alpha(painter, 21, 15));
  EXPECT_EQ(0.0, Alpha(painter, 15, 20));  // centre 20.5 lies below 20.4
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
  Painter alternate = Blank(60, 60), winding = Blank(60, 60);
  alternate.Fill(nested(FillRule::Alternate), Affine{}, kWhite);
  winding.Fill(nested(FillRule::Winding), Affine{}, kWhite);
  EXPECT_EQ(0.0, Alpha(alternate, 30, 30));
  EXPECT_EQ(1.0, Alpha(winding, 30, 30));
  EXPECT_NEAR(1600 - 400, TotalCoverage(alternate), 0.01);
  EXPECT_NEAR(1600, TotalCoverage(winding), 0.01);
}

TEST(StandInPainter, ShapesBeyondTheBordersAreClipped) {
  Painter painter = Blank(50, 40);
  painter.Fill(Rectangle(-30.5, -10, 20.5, 60), Affine{}, kWhite);
  painter.Fill(Rectangle(45.5, 10, 90, 20), Affine{}, kWhite);
  EXPECT_NEAR(1.0, Alpha(painter, 0, 0), 1e-6);
  EXPECT_NEAR(0.5, Alpha(painter, 20, 39), 1.0 / 255);
  EXPECT_NEAR(0.5, Alpha(painter, 45, 15), 1.0 / 255);
  EXPECT_NEAR(1.0, Alpha(painter, 49, 15), 1e-6);
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
    EXPECT_EQ(1.0, Alpha(painter, 10, 0));
    EXPECT_EQ(1.0, Alpha(painter, 19, 19));
  }
}

TEST(StandInPainter, TransformMapsDipsToPixels) {
  // 120 DPI: a 100-DIP square from (8, 8) covers 125 x 125 pixels from (10, 10).
  Painter painter = Blank(160, 160);
  painter.Fill(Rectangle(8, 8, 108, 108), Affine::Scale(1.25, 1.25), kWhite);
  EXPECT_NEAR(125.0 * 125.0, TotalCoverage(painter), 0.01);
  EXPECT_EQ(1.0, Alpha(painter, 10, 10));
  EXPECT_EQ(1.0, Alpha(painter, 134, 134));
  EXPECT_EQ(0.0, Alpha(painter, 135, 134));
  EXPECT_EQ(0.0, Alpha(painter, 9, 10));
  // The stroke width scales with the transform too.
  Painter stroked = Blank(200, 100);
  Path segment;
  segment.BeginFigure({10, 20}, false);
  segment.LineTo({110, 20});
  segment.EndFigure(false);
  stroked.Stroke(segment, Affine::Scale(1.5, 1.5), 2.0, kWhite);
  EXPECT_NEAR(150.0 * 3.0, TotalCoverage(stroked), 1.0);
}

namespace core = standin;

// The program's two charts as the chart lays them out (slice_layout.h) and the stand-in draws
// them: every wedge filled, the upper chart's outlined two units wide; selected is the upper
// chart's pulled-out slice. Returns an FNV-1a hash of the frame's pixels.
std::uint64_t ChartFrameHash(int width, int height, float dpi, int selected, float offset) {
  core::Painter painter;
  painter.Resize(width, height);
  painter.Clear(core::MakePaint(0.0f, 82.0f / 255.0f, 121.0f / 255.0f, 1.0f, 1.0f));
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
