// FillContainsPoint: pie wedges of an ellipse checked on a dense grid against the analytic
// answer, fill modes on a self-overlapping figure, the world transform and the tolerance.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "d2d1_test_support.h"

namespace {

using d2d1test::ComPtr;
using d2d1test::FillContains;

constexpr double kDegree = std::numbers::pi / 180.0;

// An elliptical pie whose angles run from straight down, counter-clockwise on screen: the rim
// point at angle a is (cx + rx sin a, cy + ry cos a).
struct Pie {
  double cx, cy, rx, ry;
  std::vector<double> edges;  // wedge i spans edges[i] .. edges[i + 1] degrees

  D2D1_POINT_2F Rim(double degrees) const {
    return {static_cast<float>(cx + rx * std::sin(degrees * kDegree)),
            static_cast<float>(cy + ry * std::cos(degrees * kDegree))};
  }
};

Pie MakePie(double cx, double cy, double rx, double ry, const std::vector<double>& values) {
  Pie pie{cx, cy, rx, ry, {0.0}};
  double total = 0;
  for (double v : values) total += v;
  double sum = 0;
  for (double v : values) {
    sum += v;
    pie.edges.push_back(360.0 * sum / total);
  }
  return pie;
}

ComPtr<ID2D1PathGeometry> Wedge(ID2D1Factory* factory, const Pie& pie, size_t i) {
  return d2d1test::MakePath(factory, [&](ID2D1GeometrySink* sink) {
    const double start = pie.edges[i], end = pie.edges[i + 1];
    sink->BeginFigure({static_cast<float>(pie.cx), static_cast<float>(pie.cy)},
                      D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine(pie.Rim(start));
    const D2D1_ARC_SEGMENT arc = {pie.Rim(end),
                                  {static_cast<float>(pie.rx), static_cast<float>(pie.ry)},
                                  0.0f,
                                  D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE,
                                  end - start > 180.0 ? D2D1_ARC_SIZE_LARGE : D2D1_ARC_SIZE_SMALL};
    sink->AddArc(&arc);
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax, vy = by - ay;
  const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  return std::hypot(px - (ax + t * vx), py - (ay + t * vy));
}

// Distance from a point to the rim of the pie's ellipse, from a very fine polygon of the rim.
class RimDistance {
 public:
  explicit RimDistance(const Pie& pie) {
    constexpr int kPoints = 4000;  // chords stand off the rim by under 1e-4
    for (int k = 0; k <= kPoints; ++k) {
      const double a = 360.0 * k / kPoints;
      rim_.push_back(
          {pie.cx + pie.rx * std::sin(a * kDegree), pie.cy + pie.ry * std::cos(a * kDegree)});
    }
    pie_ = pie;
  }
  double operator()(double x, double y) const {
    // Far from the rim a rough measure will do: only points near it need the exact distance.
    const double u = (x - pie_.cx) / pie_.rx, v = (y - pie_.cy) / pie_.ry;
    if (std::fabs(std::sqrt(u * u + v * v) - 1.0) * std::min(pie_.rx, pie_.ry) > 2.0) return 2.0;
    double best = 1e9;
    for (size_t k = 1; k < rim_.size(); ++k) {
      best =
          std::min(best, SegmentDistance(x, y, rim_[k - 1].x, rim_[k - 1].y, rim_[k].x, rim_[k].y));
    }
    return best;
  }

 private:
  struct P {
    double x, y;
  };
  std::vector<P> rim_;
  Pie pie_{};
};

void CheckPieOnGrid(const Pie& pie, double step) {
  auto factory = d2d1test::MakeFactory();
  std::vector<ComPtr<ID2D1PathGeometry>> wedges;
  for (size_t i = 0; i + 1 < pie.edges.size(); ++i) {
    wedges.push_back(Wedge(factory.Get(), pie, i));
    ASSERT_TRUE(wedges.back());
  }
  const RimDistance rimDistance(pie);
  int checked = 0, mismatches = 0, insideCount = 0;
  for (double y = pie.cy - pie.ry - 3; y <= pie.cy + pie.ry + 3; y += step) {
    for (double x = pie.cx - pie.rx - 3; x <= pie.cx + pie.rx + 3; x += step) {
      const double u = (x - pie.cx) / pie.rx, v = (y - pie.cy) / pie.ry;
      const bool inEllipse = u * u + v * v <= 1.0;
      double angle = std::atan2(u, v) / kDegree;
      if (angle < 0) angle += 360.0;
      const double nearRim = rimDistance(x, y);
      for (size_t i = 0; i < wedges.size(); ++i) {
        const D2D1_POINT_2F p1 = pie.Rim(pie.edges[i]), p2 = pie.Rim(pie.edges[i + 1]);
        const double nearest = std::min({nearRim, SegmentDistance(x, y, pie.cx, pie.cy, p1.x, p1.y),
                                         SegmentDistance(x, y, pie.cx, pie.cy, p2.x, p2.y)});
        if (nearest <= 0.5) continue;
        const bool expected = inEllipse && angle >= pie.edges[i] && angle < pie.edges[i + 1];
        BOOL actual = !expected;
        ASSERT_EQ(S_OK, wedges[i]->FillContainsPoint({static_cast<float>(x), static_cast<float>(y)},
                                                     nullptr, 0.0f, &actual));
        ++checked;
        if (expected) ++insideCount;
        if ((actual != FALSE) != expected) {
          ++mismatches;
          ADD_FAILURE() << "wedge " << i << " at (" << x << ", " << y << ") expected " << expected;
          if (mismatches > 10) return;
        }
      }
    }
  }
  EXPECT_EQ(0, mismatches);
  EXPECT_GT(insideCount, 1000);
  EXPECT_GT(checked, 10000);
}

TEST(StandInFillContains, PieWedgesMatchTheAnalyticAnswer) {
  struct Case {
    const char* name;
    Pie pie;
    double step;
  };
  const Case cases[] = {
      // The upper chart's shape: a 400 x 200 box less margins, with a mix of thin and wide
      // wedges, one of them wider than half the pie.
      {"elliptical", MakePie(250, 120, 170, 70, {12, 150, 30, 10, 400, 45, 80}), 0.73},
      {"circular", MakePie(210, 370, 120, 120, {10, 20, 30, 40, 50, 60, 70, 80}), 0.91},
      // Exactly 180 degrees each: small arcs that are half ellipses.
      {"two halves", MakePie(100, 100, 80, 40, {1, 1}), 0.77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CheckPieOnGrid(c.pie, c.step);
  }
}

// A five-pointed star drawn in one stroke overlaps itself: the centre pentagon is wound twice.
ComPtr<ID2D1PathGeometry> Star(ID2D1Factory* factory, D2D1_FILL_MODE mode) {
  return d2d1test::MakePath(factory, [&](ID2D1GeometrySink* sink) {
    sink->SetFillMode(mode);
    auto vertex = [](int k) {
      const double a = (-90.0 + 144.0 * k) * kDegree;
      return D2D1_POINT_2F{static_cast<float>(50 * std::cos(a)),
                           static_cast<float>(50 * std::sin(a))};
    };
    sink->BeginFigure(vertex(0), D2D1_FIGURE_BEGIN_FILLED);
    for (int k = 1; k < 5; ++k) sink->AddLine(vertex(k));
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
}

TEST(StandInFillContains, AlternateLeavesTheTwiceWoundCentreOutWindingKeepsIt) {
  auto factory = d2d1test::MakeFactory();
  auto alternate = Star(factory.Get(), D2D1_FILL_MODE_ALTERNATE);
  auto winding = Star(factory.Get(), D2D1_FILL_MODE_WINDING);
  ASSERT_TRUE(alternate && winding);
  EXPECT_FALSE(FillContains(alternate.Get(), {0, 0}));
  EXPECT_TRUE(FillContains(winding.Get(), {0, 0}));
  // A point of the star is wound once: inside under both rules.
  for (auto* star : {alternate.Get(), winding.Get()}) {
    EXPECT_TRUE(FillContains(star, {0, -40}));
    EXPECT_FALSE(FillContains(star, {40, -40}));
  }
}

TEST(StandInFillContains, AppliesTheWorldTransformAndTheTolerance) {
  auto factory = d2d1test::MakeFactory();
  ASSERT_MADE(square, d2d1test::Square(factory.Get(), 0, 0, 10));
  // Scaled by 3 and moved by (100, 50).
  const D2D1_MATRIX_3X2_F transform = {{{3, 0, 0, 3, 100, 50}}};
  EXPECT_TRUE(FillContains(square.Get(), {125, 75}, &transform));
  EXPECT_FALSE(FillContains(square.Get(), {5, 5}, &transform));
  EXPECT_TRUE(FillContains(square.Get(), {5, 5}));
  // The tolerance widens the fill and defaults to a quarter unit.
  for (const float tolerance : {0.0f, -1.0f, 0.25f}) {
    EXPECT_TRUE(FillContains(square.Get(), {10.2f, 5}, nullptr, tolerance)) << tolerance;
    EXPECT_FALSE(FillContains(square.Get(), {10.3f, 5}, nullptr, tolerance)) << tolerance;
  }
  EXPECT_FALSE(FillContains(square.Get(), {10.2f, 5}, nullptr, 0.1f));
}

TEST(StandInFillContains, HollowFiguresHoldNothingAndOpenFiguresFillAsIfClosed) {
  auto factory = d2d1test::MakeFactory();
  auto triangle = [&](D2D1_FIGURE_BEGIN begin) {
    return d2d1test::Polygon(factory.Get(), {{0, 0}, {20, 0}, {0, 20}}, begin,
                             D2D1_FIGURE_END_OPEN);
  };
  auto open = triangle(D2D1_FIGURE_BEGIN_FILLED);
  auto hollow = triangle(D2D1_FIGURE_BEGIN_HOLLOW);
  ASSERT_TRUE(open && hollow);
  EXPECT_TRUE(FillContains(open.Get(), {5, 5}));
  EXPECT_FALSE(FillContains(hollow.Get(), {5, 5}));
}

}  // namespace
