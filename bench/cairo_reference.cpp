// The benchmark scene drawn by Cairo's image surface in a native Linux program: what a Linux
// developer would use to draw these pies in software. Built and run by scripts/bench with the
// host compiler, not by the Windows build.
// Usage: cairo_reference KEY WIDTH HEIGHT FRAMES

#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "bench/pie_scene.h"

namespace {

void AddWedge(cairo_t* cr, const bench::ChartShape& chart, float start, float end) {
  // Our angles run from straight down, counter-clockwise on screen; Cairo's run from the x axis
  // towards y, clockwise on screen. A unit circle scaled to the radii gives the ellipse.
  const double pi = 3.14159265358979323846;
  const double from = pi / 2.0 - start * pi / 180.0;
  const double to = pi / 2.0 - end * pi / 180.0;
  cairo_save(cr);
  cairo_translate(cr, chart.cx, chart.cy);
  cairo_scale(cr, chart.rx, chart.ry);
  cairo_move_to(cr, 0.0, 0.0);
  cairo_arc_negative(cr, 0.0, 0.0, 1.0, from, to);
  cairo_close_path(cr);
  cairo_restore(cr);  // the outline's width is in unscaled units
}

void DrawFrame(cairo_t* cr, int width) {
  cairo_set_source_rgb(cr, bench::kBackground.r, bench::kBackground.g, bench::kBackground.b);
  cairo_paint(cr);
  for (const bench::ChartShape& chart : {bench::UpperChart(width), bench::LowerChart(width)}) {
    for (int i = 0; i < bench::kSlicesPerChart; ++i) {
      float start = 0.0f;
      float end = 0.0f;
      bench::SliceAngles(i, &start, &end);
      AddWedge(cr, chart, start, end);
      const bench::Rgb colour = bench::SliceColour(i);
      cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
      if (!chart.outlined) {
        cairo_fill(cr);
        continue;
      }
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, bench::kOutline.r, bench::kOutline.g, bench::kOutline.b);
      cairo_set_line_width(cr, bench::kOutlineWidth);
      cairo_stroke(cr);
    }
  }
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
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);

  DrawFrame(cr, width);  // warm-up: glyph-free, but caches and the first allocations
  cairo_surface_flush(surface);
  std::vector<double> millis;
  for (int f = 0; f < frames; ++f) {
    const auto before = std::chrono::steady_clock::now();
    DrawFrame(cr, width);
    cairo_surface_flush(surface);
    const auto after = std::chrono::steady_clock::now();
    millis.push_back(std::chrono::duration<double, std::milli>(after - before).count());
  }
  const std::string label = "Cairo image surface (native), frame at " + std::to_string(width) +
                            " x " + std::to_string(height);
  bench::Report(key.c_str(), label.c_str(), bench::Summarise(millis), "ms");
  const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  if (const char* png = std::getenv("D2PIE_BENCH_PNG")) cairo_surface_write_to_png(surface, png);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return ok ? 0 : 1;
}
