// The window render target gives the window only what changed since its last frame. Random runs
// of frames (shapes that move, change colour, come and go, sharp miters, aliased edges,
// transforms, DPI and size changes, lost window pixels) are checked against the same frame
// drawn whole by a render target made afresh.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <sstream>
#include <vector>

#include "d2d1_test_support.h"

namespace {

using d2d1test::ComPtr;
using d2d1test::MakeFactory;
using d2d1test::MakeTarget;
using d2d1test::TestWindow;

struct Shape {
  enum Kind { FilledPath, StrokedPath, Rectangle, Line, Ellipse } kind = FilledPath;
  std::vector<D2D1_POINT_2F> points;  // a closed figure of lines, the last one an arc
  D2D1_COLOR_F colour{};
  float width = 1.0f;
  bool aliased = false;
  D2D1_MATRIX_3X2_F transform{{{1, 0, 0, 1, 0, 0}}};
};

class Scene {
 public:
  explicit Scene(std::uint32_t seed) : random_(seed) {}

  float Uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random_);
  }
  unsigned Next(unsigned count) { return static_cast<unsigned>(random_() % count); }

  Shape RandomShape() {
    Shape shape;
    shape.kind = static_cast<Shape::Kind>(Next(5));
    const int corners = shape.kind == Shape::FilledPath || shape.kind == Shape::StrokedPath
                            ? 3 + static_cast<int>(Next(4))
                            : 2;
    for (int i = 0; i < corners; ++i) {
      shape.points.push_back({Uniform(-30, 190), Uniform(-30, 150)});
    }
    const float alpha = Next(3) == 0 ? Uniform(0.2f, 1) : 1;
    shape.colour = {Uniform(0, 1), Uniform(0, 1), Uniform(0, 1), alpha};
    shape.width = Next(4) == 0 ? Uniform(4, 16) : Uniform(0.5f, 3);
    shape.aliased = Next(4) == 0;
    if (Next(4) == 0) {
      const float angle = Uniform(-1, 1);
      const float scale = Uniform(0.5f, 1.5f);
      shape.transform = {
          {{scale * std::cos(angle), scale * std::sin(angle), -scale * std::sin(angle),
            scale * std::cos(angle), Uniform(-20, 20), Uniform(-20, 20)}}};
    }
    return shape;
  }

  // One change between frames; its name goes to the log.
  void Change(std::ostringstream& log) {
    const unsigned what = shapes_.empty() ? 0 : Next(6);
    const size_t i = shapes_.empty() ? 0 : Next(static_cast<unsigned>(shapes_.size()));
    switch (what) {
      case 0:
        log << " add";
        shapes_.insert(
            shapes_.begin() + static_cast<long>(Next(static_cast<unsigned>(shapes_.size() + 1))),
            RandomShape());
        break;
      case 1: {
        log << " move" << i;
        const float dx = Uniform(-12, 12), dy = Uniform(-12, 12);
        for (auto& p : shapes_[i].points) p = {p.x + dx, p.y + dy};
        break;
      }
      case 2:
        log << " recolour" << i;
        shapes_[i].colour.g = Uniform(0, 1);
        break;
      case 3:
        log << " remove" << i;
        shapes_.erase(shapes_.begin() + static_cast<long>(i));
        break;
      case 4:
        log << " raise" << i;
        std::swap(shapes_[i], shapes_.back());
        break;
      default:
        log << " same";
        break;
    }
  }

  void Draw(ID2D1Factory* factory, ID2D1HwndRenderTarget* target) const {
    target->Clear(&background);
    for (const Shape& shape : shapes_) {
      ComPtr<ID2D1SolidColorBrush> brush;
      target->CreateSolidColorBrush(&shape.colour, nullptr, &brush);
      target->SetAntialiasMode(shape.aliased ? D2D1_ANTIALIAS_MODE_ALIASED
                                             : D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
      target->SetTransform(&shape.transform);
      const D2D1_POINT_2F a = shape.points[0], b = shape.points[1];
      switch (shape.kind) {
        case Shape::Rectangle: {
          const D2D1_RECT_F rect{a.x, a.y, b.x, b.y};
          target->FillRectangle(&rect, brush.Get());
          break;
        }
        case Shape::Line:
          target->DrawLine(a, b, brush.Get(), shape.width, nullptr);
          break;
        case Shape::Ellipse: {
          const D2D1_ELLIPSE ellipse{a, std::fabs(b.x - a.x) / 2, std::fabs(b.y - a.y) / 2};
          target->DrawEllipse(&ellipse, brush.Get(), shape.width, nullptr);
          break;
        }
        default: {
          auto path = d2d1test::MakePath(factory, [&](ID2D1GeometrySink* sink) {
            sink->BeginFigure(a, D2D1_FIGURE_BEGIN_FILLED);
            for (size_t k = 1; k + 1 < shape.points.size(); ++k) sink->AddLine(shape.points[k]);
            const D2D1_ARC_SEGMENT arc{shape.points.back(),
                                       {40, 25},
                                       30,
                                       D2D1_SWEEP_DIRECTION_CLOCKWISE,
                                       D2D1_ARC_SIZE_SMALL};
            sink->AddArc(&arc);
            sink->EndFigure(D2D1_FIGURE_END_CLOSED);
          });
          if (shape.kind == Shape::FilledPath) {
            target->FillGeometry(path.Get(), brush.Get(), nullptr);
          } else {
            target->DrawGeometry(path.Get(), brush.Get(), shape.width, nullptr);
          }
          break;
        }
      }
    }
  }

  D2D1_COLOR_F background{0, 0.32f, 0.47f, 1};

 private:
  std::mt19937 random_;
  std::vector<Shape> shapes_;
};

// Where two captures differ, for the failure message; empty when they do not.
std::string Difference(const std::vector<std::uint32_t>& shown,
                       const std::vector<std::uint32_t>& fresh, int width) {
  int count = 0;
  std::ostringstream text;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == fresh[i]) continue;
    if (count++ == 0) {
      text << "first at (" << i % width << ", " << i / width << "): " << std::hex << shown[i]
           << " instead of " << fresh[i] << std::dec;
    }
  }
  if (count > 0) text << "; " << count << " pixels differ";
  return text.str();
}

// A call that goes takes all of its pixels with it, also those that lie beyond its path: the
// miter of a sharp corner and the half width of a stroke.
TEST(StandInRetainedFrame, ACallThatGoesTakesAllItsPixels) {
  ASSERT_MADE(canvas, d2d1test::Canvas(96, 128));
  // An apex of about 8.5 degrees pointing up: its miter, cut at ten half widths, reaches
  // 15 pixels above it.
  auto wedge = d2d1test::Polygon(canvas.factory.Get(), {{48, 36}, {52, 90}, {44, 90}});
  ASSERT_MADE(brush, d2d1test::Brush(canvas.target.Get(), {1, 1, 1, 1}));
  const D2D1_COLOR_F black{0, 0, 0, 1};
  // Each call with a pixel that it covers far from its path.
  const std::pair<std::function<void(ID2D1RenderTarget*)>, int> calls[] = {
      {[&](ID2D1RenderTarget* t) { t->DrawGeometry(wedge.Get(), brush.Get(), 3.0f, nullptr); },
       25 * 96 + 48},
      {[&](ID2D1RenderTarget* t) {
         t->DrawLine({10, 70}, {86, 70}, brush.Get(), 40.0f, nullptr);
       },
       52 * 96 + 48},
  };
  for (size_t i = 0; i < std::size(calls); ++i) {
    ASSERT_EQ(S_OK, canvas.Frame(black, calls[i].first));
    const auto drawn = canvas.window.Capture();
    EXPECT_NE(0u, drawn[static_cast<size_t>(calls[i].second)]) << "call " << i;
    ASSERT_EQ(S_OK, canvas.Frame(black, [](ID2D1RenderTarget*) {}));
    const auto after = canvas.window.Capture();
    EXPECT_EQ(after.size(), static_cast<size_t>(std::count(after.begin(), after.end(), 0u)))
        << "call " << i << " left pixels behind";
  }
}

TEST(StandInRetainedFrame, ShowsWhatAFreshTargetDrawsAfterRandomRunsOfFrames) {
  auto factory = MakeFactory();
  TestWindow window(160, 120);
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    Scene scene(seed);
    std::ostringstream log;
    log << "seed " << seed << ":";
    UINT32 width = 160, height = 120;
    float dpi = 96.0f;
    ASSERT_MADE(target, MakeTarget(factory.Get(), window.Handle(), width, height, dpi));
    for (int frame = 0; frame < 30; ++frame) {
      scene.Change(log);
      const unsigned around = scene.Next(16);
      if (around == 0) {
        width = 100 + scene.Next(61);
        height = 80 + scene.Next(41);
        log << " size " << width << "x" << height;
        const D2D1_SIZE_U size{width, height};
        ASSERT_EQ(S_OK, target->Resize(&size));
      } else if (around == 1) {
        dpi = scene.Next(2) == 0 ? 96.0f : 120.0f;
        log << " dpi " << dpi;
        target->SetDpi(dpi, dpi);
      } else if (around == 2) {
        scene.background.r = scene.Uniform(0, 1);
        log << " background";
      } else if (around == 3) {
        log << " uncover";
        HDC dc = GetDC(window.Handle());
        RECT lost{static_cast<LONG>(scene.Next(100)), static_cast<LONG>(scene.Next(80)), 150, 110};
        FillRect(dc, &lost, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(window.Handle(), dc);
        RedrawWindow(window.Handle(), &lost, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      target->BeginDraw();
      scene.Draw(factory.Get(), target.Get());
      ASSERT_EQ(S_OK, target->EndDraw(nullptr, nullptr)) << log.str();
      const auto shown = window.Capture();

      ASSERT_MADE(fresh, MakeTarget(factory.Get(), window.Handle(), width, height, dpi));
      fresh->BeginDraw();
      scene.Draw(factory.Get(), fresh.Get());
      ASSERT_EQ(S_OK, fresh->EndDraw(nullptr, nullptr));
      const std::string difference = Difference(shown, window.Capture(), window.Width());
      ASSERT_TRUE(difference.empty()) << difference << "\n" << log.str();
    }
  }
}

}  // namespace
