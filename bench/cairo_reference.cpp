// The benchmark scene drawn by Cairo in a native Linux program: what a Linux developer would use
// to draw these pies. "image" draws into an image surface only. The other two present each frame
// on a real X window of the display and wait for the server with XSync, as a program that shows
// its frames must: "window" draws into an image surface and paints it onto the window's Xlib
// surface (Cairo sends it through shared memory where the server offers it); "xlib" draws with
// the server's own rendering into an off-screen Xlib surface and copies that to the window.
// Built and run by scripts/bench with the host compiler, not by the Windows build.
// Usage: cairo_reference KEY WIDTH HEIGHT FRAMES [image|window|xlib]

#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

bench::Figures TimeFrames(int frames, const std::function<void()>& frame) {
  frame();  // warm-up: caches and the first allocations
  std::vector<double> millis;
  for (int f = 0; f < frames; ++f) {
    const auto before = std::chrono::steady_clock::now();
    frame();
    const auto after = std::chrono::steady_clock::now();
    millis.push_back(std::chrono::duration<double, std::milli>(after - before).count());
  }
  return bench::Summarise(millis);
}

// An unmanaged window of the given size at the screen's origin, mapped and shown.
Window OpenWindow(Display* display, int width, int height) {
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.event_mask = ExposureMask | StructureNotifyMask;
  const Window window =
      XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XMapRaised(display, window);
  for (XEvent event;;) {
    XNextEvent(display, &event);
    if (event.type == Expose) break;
  }
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: %s KEY WIDTH HEIGHT FRAMES [image|window]\n", argv[0]);
    return 2;
  }
  const std::string key = argv[1];
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const int frames = std::atoi(argv[4]);
  const std::string mode = argc == 6 ? argv[5] : "image";
  if (mode != "image" && mode != "window" && mode != "xlib") {
    std::fprintf(stderr, "%s: unknown mode %s\n", argv[0], mode.c_str());
    return 2;
  }
  const std::string size = std::to_string(width) + " x " + std::to_string(height);

  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(image);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  bool ok = true;
  if (mode == "image") {
    const bench::Figures figures = TimeFrames(frames, [&] {
      DrawFrame(cr, width);
      cairo_surface_flush(image);
    });
    const std::string label = "Cairo image surface (native), frame at " + size;
    bench::Report(key.c_str(), label.c_str(), figures, "ms");
  } else {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
      std::fprintf(stderr, "%s: no X display\n", argv[0]);
      return 1;
    }
    const Window window = OpenWindow(display, width, height);
    cairo_surface_t* onScreen = cairo_xlib_surface_create(
        display, window, DefaultVisual(display, DefaultScreen(display)), width, height);
    cairo_t* present = cairo_create(onScreen);
    cairo_set_operator(present, CAIRO_OPERATOR_SOURCE);
    // The server-side frame of "xlib", as the window's own kind of surface.
    cairo_surface_t* offScreen =
        cairo_surface_create_similar(onScreen, CAIRO_CONTENT_COLOR, width, height);
    cairo_t* drawn = mode == "xlib" ? cairo_create(offScreen) : cr;
    cairo_surface_t* source = mode == "xlib" ? offScreen : image;
    const bench::Figures figures = TimeFrames(frames, [&] {
      DrawFrame(drawn, width);
      cairo_surface_flush(source);
      cairo_set_source_surface(present, source, 0, 0);
      cairo_paint(present);
      cairo_surface_flush(onScreen);
      XSync(display, False);
    });
    const std::string how = mode == "xlib" ? "drawn by the X server off screen, copied"
                                           : "image surface put to the window";
    const std::string label =
        "Cairo presented to an X window (native, " + how + ", XSync), frame at " + size;
    bench::Report(key.c_str(), label.c_str(), figures, "ms");
    ok = cairo_status(present) == CAIRO_STATUS_SUCCESS &&
         cairo_status(drawn) == CAIRO_STATUS_SUCCESS;
    if (drawn != cr) cairo_destroy(drawn);
    cairo_surface_destroy(offScreen);
    cairo_destroy(present);
    cairo_surface_destroy(onScreen);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
  }
  ok = ok && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  const char* png = std::getenv("D2PIE_BENCH_PNG");
  if (png != nullptr && mode != "xlib") cairo_surface_write_to_png(image, png);
  cairo_destroy(cr);
  cairo_surface_destroy(image);
  return ok ? 0 : 1;
}
