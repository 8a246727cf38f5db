// Endpoint arcs: the centre and sweep solved from the end points, and the tight bounds of the
// resulting figures, against values worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "d2d1_test_support.h"
#include "platform/d2d1/endpoint_arc.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/path_bounds.h"

namespace {

using d2d1test::ComPtr;
using d2d1test::ExpectBounds;
using d2d1test::FillContains;
using standin::EndpointArc;
using standin::SolveEndpointArc;

constexpr double kPi = std::numbers::pi;
constexpr auto kCw = D2D1_SWEEP_DIRECTION_CLOCKWISE;
constexpr auto kCcw = D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE;
constexpr auto kSmall = D2D1_ARC_SIZE_SMALL;
constexpr auto kLarge = D2D1_ARC_SIZE_LARGE;

struct ArcCase {
  const char* name;
  D2D1_POINT_2F from;
  D2D1_ARC_SEGMENT arc;
  double centerX, centerY, sweep;   // expected centre and sweep (radians)
  double left, top, right, bottom;  // expected bounds of the open figure
};

// A table, kept as written: the formatter would give each value a line of its own.
// clang-format off
const ArcCase kCases[] = {
    // Circle of radius 10, quarter turns between (10, 0) and (0, 10).
    {"circle quarter cw small", {10, 0}, {{0, 10}, {10, 10}, 0, kCw, kSmall},
     0, 0, kPi / 2, 0, 0, 10, 10},
    {"circle quarter ccw small", {10, 0}, {{0, 10}, {10, 10}, 0, kCcw, kSmall},
     10, 10, -kPi / 2, 0, 0, 10, 10},
    {"circle three quarters cw large", {10, 0}, {{0, 10}, {10, 10}, 0, kCw, kLarge},
     10, 10, 3 * kPi / 2, 0, 0, 20, 20},
    {"circle three quarters ccw large", {10, 0}, {{0, 10}, {10, 10}, 0, kCcw, kLarge},
     0, 0, -3 * kPi / 2, -10, -10, 10, 10},
    // Half turns: the sweep direction picks the upper or lower half, the size does not matter.
    {"circle half cw", {-10, 0}, {{10, 0}, {10, 10}, 0, kCw, kSmall},
     0, 0, kPi, -10, -10, 10, 0},
    {"circle half ccw", {-10, 0}, {{10, 0}, {10, 10}, 0, kCcw, kLarge},
     0, 0, -kPi, -10, 0, 10, 10},
    // Ellipse 20 x 10, quarter and three-quarter turns between (20, 0) and (0, 10).
    {"ellipse quarter cw small", {20, 0}, {{0, 10}, {20, 10}, 0, kCw, kSmall},
     0, 0, kPi / 2, 0, 0, 20, 10},
    {"ellipse quarter ccw small", {20, 0}, {{0, 10}, {20, 10}, 0, kCcw, kSmall},
     20, 10, -kPi / 2, 0, 0, 20, 10},
    {"ellipse three quarters cw large", {20, 0}, {{0, 10}, {20, 10}, 0, kCw, kLarge},
     20, 10, 3 * kPi / 2, 0, 0, 40, 20},
    {"ellipse three quarters ccw large", {20, 0}, {{0, 10}, {20, 10}, 0, kCcw, kLarge},
     0, 0, -3 * kPi / 2, -20, -10, 20, 10},
    // Radii too small to span 40 units: scaled up to 20, a half circle over the chord.
    {"radii scaled up", {0, 0}, {{40, 0}, {5, 5}, 0, kCw, kSmall},
     20, 0, kPi, 0, -20, 40, 0},
    {"ellipse radii scaled up", {0, 0}, {{0, 40}, {4, 8}, 0, kCcw, kSmall},
     0, 20, -kPi, -10, 0, 0, 40},
    // Ellipse 20 x 10 turned by 90 degrees: its long axis is vertical.
    {"rotated half", {0, -20}, {{0, 20}, {20, 10}, 90, kCw, kSmall},
     0, 0, kPi, 0, -20, 10, 20},
};
// clang-format on

ComPtr<ID2D1PathGeometry> OpenFigure(ID2D1Factory* factory, D2D1_POINT_2F from,
                                     const D2D1_ARC_SEGMENT& arc) {
  return d2d1test::MakePath(factory, [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure(from, D2D1_FIGURE_BEGIN_HOLLOW);
    sink->AddArc(&arc);
    sink->EndFigure(D2D1_FIGURE_END_OPEN);
  });
}

TEST(EndpointArc, SolvesTheCentreAndSweepOfEachOfTheFourArcs) {
  for (const ArcCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const EndpointArc arc = SolveEndpointArc(
        {c.from.x, c.from.y}, {c.arc.point.x, c.arc.point.y}, c.arc.size.width, c.arc.size.height,
        c.arc.rotationAngle, c.arc.sweepDirection == kCw, c.arc.arcSize == kLarge);
    ASSERT_EQ(EndpointArc::Kind::Curved, arc.kind);
    EXPECT_NEAR(c.centerX, arc.center.x, 1e-6);
    EXPECT_NEAR(c.centerY, arc.center.y, 1e-6);
    EXPECT_NEAR(c.sweep, arc.sweep, 1e-6);
    // Both ends of the solved arc are the given points.
    const auto start = arc.At(arc.startAngle);
    const auto end = arc.At(arc.startAngle + arc.sweep);
    EXPECT_NEAR(c.from.x, start.x, 1e-4);
    EXPECT_NEAR(c.from.y, start.y, 1e-4);
    EXPECT_NEAR(c.arc.point.x, end.x, 1e-4);
    EXPECT_NEAR(c.arc.point.y, end.y, 1e-4);
  }
}

TEST(EndpointArc, ScaledRadiiJustReachAcrossTheChord) {
  const EndpointArc arc = SolveEndpointArc({0, 0}, {30, 40}, 5, 5, 0, true, true);
  EXPECT_NEAR(25.0, arc.rx, 1e-9);
  EXPECT_NEAR(25.0, arc.ry, 1e-9);
  EXPECT_NEAR(kPi, std::fabs(arc.sweep), 1e-6);
}

// Radii 1e20 across and 1e57 down: ten units across the chord the ellipse's apex lies
// 1e57 * (5e-20)^2 / 2 = 1.25e18 beyond the end points, in turns of 5e-20 from them that
// the start angle itself (about -pi / 2) cannot hold.
TEST(EndpointArc, RadiiFarApartKeepTheApexBetweenTheEnds) {
  const EndpointArc arc = SolveEndpointArc({0, 100}, {10, 115}, 1e20, 1e57, 0, true, false);
  const auto middle = arc.Along(arc.sweep / 2);
  EXPECT_NEAR(5.0, middle.x, 1e-6);
  EXPECT_NEAR(-1.25e18, middle.y, 1e12);
  standin::Path path;
  path.BeginFigure({0, 100}, true);
  path.ArcTo({10, 115}, 1e20, 1e57, 0, true, false);
  path.EndFigure(true);
  const standin::Box bounds = standin::PathBounds(path, standin::Affine{});
  EXPECT_NEAR(-1.25e18, bounds.top, 1e12) << "the apex is within the bounds";
  EXPECT_EQ(115.0, bounds.bottom);
}

TEST(EndpointArc, DegenerateArcs) {
  EXPECT_EQ(EndpointArc::Kind::Nothing,
            SolveEndpointArc({3, 4}, {3, 4}, 10, 10, 0, true, true).kind);
  EXPECT_EQ(EndpointArc::Kind::Straight,
            SolveEndpointArc({0, 0}, {5, 5}, 0, 10, 0, true, false).kind);
  EXPECT_EQ(EndpointArc::Kind::Straight,
            SolveEndpointArc({0, 0}, {5, 5}, 10, 0, 0, true, false).kind);
}

TEST(StandInArcBounds, AreTightAroundEachArc) {
  auto factory = d2d1test::MakeFactory();
  for (const ArcCase& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_MADE(path, OpenFigure(factory.Get(), c.from, c.arc));
    D2D1_RECT_F bounds;
    ASSERT_EQ(S_OK, path->GetBounds(nullptr, &bounds));
    ExpectBounds(bounds, c.left, c.top, c.right, c.bottom, 1e-3);
  }
}

TEST(StandInArcBounds, FollowTheWorldTransform) {
  auto factory = d2d1test::MakeFactory();
  // Quarter circle of radius 10 from angle 0 to 90 degrees, around the origin.
  ASSERT_MADE(path, OpenFigure(factory.Get(), {10, 0}, {{0, 10}, {10, 10}, 0, kCw, kSmall}));
  // Scaled by 2 and moved by (5, -5).
  const D2D1_MATRIX_3X2_F scale = {{{2, 0, 0, 2, 5, -5}}};
  D2D1_RECT_F bounds;
  ASSERT_EQ(S_OK, path->GetBounds(&scale, &bounds));
  ExpectBounds(bounds, 5, -5, 25, 15, 1e-3);
  // Turned by 45 degrees the arc spans 45 to 135 degrees: its lowest point is the rim at 90,
  // which lies beyond both end points.
  const float h = static_cast<float>(std::sqrt(0.5));
  const D2D1_MATRIX_3X2_F turn = {{{h, h, -h, h, 0, 0}}};
  ASSERT_EQ(S_OK, path->GetBounds(&turn, &bounds));
  ExpectBounds(bounds, -10 * h, 10 * h, 10 * h, 10, 1e-3);
}

TEST(StandInArcBounds, RotatedEllipseMadeOfTwoHalves) {
  auto factory = d2d1test::MakeFactory();
  // Ellipse 20 x 10 turned by 45 degrees: both half extents are sqrt(20^2/2 + 10^2/2).
  const float e = static_cast<float>(20 * std::sqrt(0.5));
  auto path = d2d1test::MakePath(factory.Get(), [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure({e, e}, D2D1_FIGURE_BEGIN_FILLED);
    const D2D1_ARC_SEGMENT first = {{-e, -e}, {20, 10}, 45, kCw, kSmall};
    const D2D1_ARC_SEGMENT second = {{e, e}, {20, 10}, 45, kCw, kSmall};
    sink->AddArc(&first);
    sink->AddArc(&second);
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  ASSERT_TRUE(path);
  D2D1_RECT_F bounds;
  ASSERT_EQ(S_OK, path->GetBounds(nullptr, &bounds));
  const double extent = std::sqrt(250.0);
  ExpectBounds(bounds, -extent, -extent, extent, extent, 1e-3);
  // The ellipse's own axes: along the 45-degree diagonal it reaches 20, across it only 10.
  EXPECT_TRUE(FillContains(path.Get(), {13.5f, 13.5f}, nullptr, 0.01f));
  EXPECT_FALSE(FillContains(path.Get(), {-7.5f, 7.5f}, nullptr, 0.01f));
  EXPECT_TRUE(FillContains(path.Get(), {-6.5f, 6.5f}, nullptr, 0.01f));
}

TEST(StandInArcBounds, DegenerateArcsAddNothingOrAStraightLine) {
  auto factory = d2d1test::MakeFactory();
  auto same = d2d1test::MakePath(factory.Get(), [](ID2D1GeometrySink* sink) {
    sink->BeginFigure({5, 5}, D2D1_FIGURE_BEGIN_FILLED);
    const D2D1_ARC_SEGMENT loop = {{5, 5}, {50, 50}, 0, kCw, kLarge};
    sink->AddArc(&loop);
    sink->AddLine({10, 5});
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  ASSERT_TRUE(same);
  D2D1_RECT_F bounds;
  ASSERT_EQ(S_OK, same->GetBounds(nullptr, &bounds));
  ExpectBounds(bounds, 5, 5, 10, 5, 0.0);

  // A zero radius joins the points with a straight line: the triangle (0,0) (10,0) (10,10).
  auto straight = d2d1test::MakePath(factory.Get(), [](ID2D1GeometrySink* sink) {
    sink->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine({10, 0});
    const D2D1_ARC_SEGMENT flat = {{0, 10}, {0, 0}, 0, kCw, kSmall};
    sink->AddArc(&flat);
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  ASSERT_TRUE(straight);
  EXPECT_FALSE(FillContains(straight.Get(), {8, 8}));
  EXPECT_TRUE(FillContains(straight.Get(), {3, 3}));
}

TEST(StandInArcBounds, EmptyGeometryHasInvertedBounds) {
  auto factory = d2d1test::MakeFactory();
  ASSERT_MADE(empty, d2d1test::MakePath(factory.Get(), [](ID2D1GeometrySink*) {}));
  D2D1_RECT_F bounds;
  ASSERT_EQ(S_OK, empty->GetBounds(nullptr, &bounds));
  EXPECT_GT(bounds.left, bounds.right);
  EXPECT_GT(bounds.top, bounds.bottom);
}

}  // namespace
