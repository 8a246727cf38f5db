// The benchmark scene painted by the Direct2D stand-in's drawing core alone (paths with arcs,
// the flattener, the rasterizer and the blender), built natively so that a Linux profiler can
// see where a frame's time goes. Built by scripts/bench with the host compiler.
// "whole" paints every frame whole onto one surface; "regen" and "anim" go through the render
// target's retained frame, with every wedge changing between frames (two sets of colours in
// turn) or one wedge moving out step by step as in the explode animation.
// Usage: standin_profile KEY WIDTH HEIGHT FRAMES [whole|regen|anim]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "bench/pie_scene.h"
#include "platform/d2d1/painter.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/retained_frame.h"

namespace {

standin::Path Wedge(const bench::ChartShape& chart, float start, float end, float out = 0.0f) {
  float sx = 0.0f, sy = 0.0f, ex = 0.0f, ey = 0.0f;
  bench::RimPoint(chart, start, &sx, &sy);
  bench::RimPoint(chart, end, &ex, &ey);
  // Pulled out along the bisector, as a selected slice is.
  float dx = 0.0f, dy = 0.0f;
  bench::RimPoint({0.0f, 0.0f, out, out, false}, (start + end) / 2.0f, &dx, &dy);
  sx += dx;
  sy += dy;
  ex += dx;
  ey += dy;
  standin::Path path;
  path.BeginFigure({chart.cx + dx, chart.cy + dy}, true);
  path.LineTo({sx, sy});
  // Counter-clockwise on screen, as the chart draws its slices.
  path.ArcTo({ex, ey}, chart.rx, chart.ry, 0.0, false, end - start > 180.0f);
  path.EndFigure(true);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: %s KEY WIDTH HEIGHT FRAMES [whole|regen|anim]\n", argv[0]);
    return 2;
  }
  const std::string mode = argc == 6 ? argv[5] : "whole";
  const std::string key = argv[1];
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const int frames = std::atoi(argv[4]);

  struct Item {
    standin::Path path;
    standin::Paint paint, other;  // "regen" takes the two in turn
    bool outlined;
    bench::ChartShape chart;
    float start, end;
  };
  std::vector<Item> items;
  for (const bench::ChartShape& chart : {bench::UpperChart(width), bench::LowerChart(width)}) {
    for (int i = 0; i < bench::kSlicesPerChart; ++i) {
      float start = 0.0f, end = 0.0f;
      bench::SliceAngles(i, &start, &end);
      const bench::Rgb c = bench::SliceColour(i);
      const bench::Rgb d = bench::SliceColour(i + 7);
      items.push_back({Wedge(chart, start, end), standin::MakePaint(c.r, c.g, c.b, 1.0f, 1.0f),
                       standin::MakePaint(d.r, d.g, d.b, 1.0f, 1.0f), chart.outlined, chart, start,
                       end});
    }
  }
  const standin::Paint background = standin::MakePaint(bench::kBackground.r, bench::kBackground.g,
                                                       bench::kBackground.b, 1.0f, 1.0f);
  const standin::Paint outline =
      standin::MakePaint(bench::kOutline.r, bench::kOutline.g, bench::kOutline.b, 1.0f, 1.0f);

  standin::Painter painter;
  painter.Resize(width, height);
  painter.SetAntialiased(true);
  standin::RetainedFrame retained;
  retained.Resize(width, height);
  const standin::Affine identity;
  int count = 0;
  const int offsets[] = {0, 3, 6, 10, 13, 16, 19, 20};
  const auto frame = [&] {
    ++count;
    if (mode == "whole") {
      painter.Clear(background);
      for (const Item& item : items) {
        painter.Fill(item.path, identity, item.paint);
        if (item.outlined) painter.Stroke(item.path, identity, bench::kOutlineWidth, outline);
      }
      return;
    }
    // The moving wedge: each in turn, eight frames each.
    const size_t moving = static_cast<size_t>(count / 8) % items.size();
    standin::Path moved;
    if (mode == "anim") {
      const Item& item = items[moving];
      moved = Wedge(item.chart, item.start, item.end, static_cast<float>(offsets[count % 8]));
    }
    retained.Begin();
    retained.Clear(background);
    for (size_t i = 0; i < items.size(); ++i) {
      const Item& item = items[i];
      const standin::Path& path = mode == "anim" && i == moving ? moved : item.path;
      retained.Fill(path, identity, mode == "regen" && count % 2 == 0 ? item.other : item.paint);
      if (item.outlined) retained.Stroke(path, identity, bench::kOutlineWidth, outline);
    }
    retained.Finish();
  };
  frame();
  std::vector<double> millis;
  for (int f = 0; f < frames; ++f) {
    const auto before = std::chrono::steady_clock::now();
    frame();
    const auto after = std::chrono::steady_clock::now();
    millis.push_back(std::chrono::duration<double, std::milli>(after - before).count());
  }
  const std::string what = mode == "regen"  ? ", every wedge changing"
                           : mode == "anim" ? ", one wedge moving"
                                            : "";
  const std::string label = "stand-in drawing core alone (native), frame at " +
                            std::to_string(width) + " x " + std::to_string(height) + what;
  bench::Report(key.c_str(), label.c_str(), bench::Summarise(millis), "ms");
  return 0;
}
