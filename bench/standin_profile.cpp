// The benchmark scene painted by the Direct2D stand-in's drawing core alone (paths with arcs,
// the flattener, the rasterizer and the blender), built natively so that a Linux profiler can
// see where a frame's time goes. Built by scripts/bench with the host compiler.
// Usage: standin_profile KEY WIDTH HEIGHT FRAMES

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "bench/pie_scene.h"
#include "platform/d2d1/painter.h"
#include "platform/d2d1/path.h"

namespace {

standin::Path Wedge(const bench::ChartShape& chart, float start, float end) {
  float sx = 0.0f, sy = 0.0f, ex = 0.0f, ey = 0.0f;
  bench::RimPoint(chart, start, &sx, &sy);
  bench::RimPoint(chart, end, &ex, &ey);
  standin::Path path;
  path.BeginFigure({chart.cx, chart.cy}, true);
  path.LineTo({sx, sy});
  // Counter-clockwise on screen, as the chart draws its slices.
  path.ArcTo({ex, ey}, chart.rx, chart.ry, 0.0, false, end - start > 180.0f);
  path.EndFigure(true);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s KEY WIDTH HEIGHT FRAMES\n", argv[0]);
    return 2;
  }
  const std::string key = argv[1];
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const int frames = std::atoi(argv[4]);

  struct Item {
    standin::Path path;
    standin::Paint paint;
    bool outlined;
  };
  std::vector<Item> items;
  for (const bench::ChartShape& chart : {bench::UpperChart(width), bench::LowerChart(width)}) {
    for (int i = 0; i < bench::kSlicesPerChart; ++i) {
      float start = 0.0f, end = 0.0f;
      bench::SliceAngles(i, &start, &end);
      const bench::Rgb c = bench::SliceColour(i);
      items.push_back({Wedge(chart, start, end), standin::MakePaint(c.r, c.g, c.b, 1.0f, 1.0f),
                       chart.outlined});
    }
  }
  const standin::Paint background = standin::MakePaint(
      bench::kBackground.r, bench::kBackground.g, bench::kBackground.b, 1.0f, 1.0f);
  const standin::Paint outline =
      standin::MakePaint(bench::kOutline.r, bench::kOutline.g, bench::kOutline.b, 1.0f, 1.0f);

  standin::Painter painter;
  painter.Resize(width, height);
  painter.SetAntialiased(true);
  const standin::Affine identity;
  const auto frame = [&] {
    painter.Clear(background);
    for (const Item& item : items) {
      painter.Fill(item.path, identity, item.paint);
      if (item.outlined) painter.Stroke(item.path, identity, bench::kOutlineWidth, outline);
    }
  };
  frame();
  std::vector<double> millis;
  for (int f = 0; f < frames; ++f) {
    const auto before = std::chrono::steady_clock::now();
    frame();
    const auto after = std::chrono::steady_clock::now();
    millis.push_back(std::chrono::duration<double, std::milli>(after - before).count());
  }
  const std::string label = "stand-in drawing core alone (native), frame at " +
                            std::to_string(width) + " x " + std::to_string(height);
  bench::Report(key.c_str(), label.c_str(), bench::Summarise(millis), "ms");
  return 0;
}
