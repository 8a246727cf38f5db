// libFuzzer target for the Direct2D stand-in's drawing core (paths, arcs, flattening, strokes,
// the rasterizer and containment), built natively with AddressSanitizer and
// UndefinedBehaviorSanitizer by scripts/fuzz. Each input is a small text program, one command
// per line (numbers as strtod reads them, so nan, inf and 0x1p-1074 work too):
//
//   frame W H            pixels (each side cut to 0..640), antialiased
//   aliased              pixel centres only, from here on
//   transform m11 m12 m21 m22 dx dy
//   new                  an empty path (each command below adds to the current one)
//   winding              the path's fill rule (alternate unless said)
//   begin X Y [hollow]   a figure; then line X Y, quad X1 Y1 X2 Y2, cubic X1 Y1 X2 Y2 X3 Y3,
//                        arc X Y RX RY DEGREES [ccw] [large]; and end [closed]
//   fill | stroke WIDTH | contains X Y TOLERANCE | bounds
//
// Besides the sanitizers' checks it holds one promise: the bounds hold every point the fill
// contains. libFuzzer's own limits (scripts/fuzz sets them) catch slow inputs and large
// allocations.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/d2d1/fill_contains.h"
#include "platform/d2d1/painter.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/path_bounds.h"

namespace {

using standin::Affine;
using standin::Vec2;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  bool NextLine() {
    if (position_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', position_);
    line_ = text_.substr(position_, end == std::string::npos ? std::string::npos : end - position_);
    position_ = end == std::string::npos ? text_.size() : end + 1;
    cursor_ = 0;
    return true;
  }

  std::string Word() {
    while (cursor_ < line_.size() && (line_[cursor_] == ' ' || line_[cursor_] == '\t')) ++cursor_;
    const std::size_t start = cursor_;
    while (cursor_ < line_.size() && line_[cursor_] != ' ' && line_[cursor_] != '\t') ++cursor_;
    return line_.substr(start, cursor_ - start);
  }

  double Number() {
    const std::string word = Word();
    return word.empty() ? 0.0 : std::strtod(word.c_str(), nullptr);
  }

  bool Has(const char* flag) const { return line_.find(flag) != std::string::npos; }

 private:
  std::string text_;
  std::string line_;
  std::size_t position_ = 0;
  std::size_t cursor_ = 0;
};

int Side(double v) {
  if (!(v > 0.0)) return 0;
  return v > 640.0 ? 640 : static_cast<int>(v);
}

// Every point the fill holds lies within the bounds, give or take the tolerance.
void CheckContainsAgainstBounds(const standin::Path& path, const Affine& transform, Vec2 point,
                                double tolerance, bool contains) {
  if (!contains) return;
  const standin::Box box = PathBounds(path, transform);
  const double values[] = {box.left, box.top, box.right, box.bottom, point.x, point.y};
  double scale = tolerance;
  for (const double v : values) {
    if (!std::isfinite(v)) return;
    scale = std::fmax(scale, std::fabs(v));
  }
  const double slack = tolerance * 1.001 + scale * 1e-9;
  if (point.x < box.left - slack || point.x > box.right + slack || point.y < box.top - slack ||
      point.y > box.bottom + slack) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  standin::Painter painter;
  painter.Resize(64, 64);
  standin::Path path;
  Affine transform;
  bool inFigure = false;
  const standin::Paint paint = standin::MakePaint(1.0f, 0.5f, 0.25f, 1.0f, 1.0f);
  while (in.NextLine()) {
    const std::string command = in.Word();
    if (command == "frame") {
      const int width = Side(in.Number());
      painter.Resize(width, Side(in.Number()));
    } else if (command == "aliased") {
      painter.SetAntialiased(false);
    } else if (command == "transform") {
      transform.m11 = in.Number();
      transform.m12 = in.Number();
      transform.m21 = in.Number();
      transform.m22 = in.Number();
      transform.dx = in.Number();
      transform.dy = in.Number();
    } else if (command == "new") {
      path.Clear();
      inFigure = false;
    } else if (command == "winding") {
      path.SetFillRule(standin::FillRule::Winding);
    } else if (command == "begin") {
      if (inFigure) path.EndFigure(false);
      const double x = in.Number();
      path.BeginFigure({x, in.Number()}, !in.Has("hollow"));
      inFigure = true;
    } else if (command == "end") {
      if (inFigure) path.EndFigure(in.Has("closed"));
      inFigure = false;
    } else if (!inFigure &&
               (command == "line" || command == "quad" || command == "cubic" || command == "arc")) {
      continue;  // segments belong in a figure, as the geometry sink insists
    } else if (command == "line") {
      const double x = in.Number();
      path.LineTo({x, in.Number()});
    } else if (command == "quad") {
      double v[4];
      for (double& value : v) value = in.Number();
      path.QuadraticTo({v[0], v[1]}, {v[2], v[3]});
    } else if (command == "cubic") {
      double v[6];
      for (double& value : v) value = in.Number();
      path.CubicTo({v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]});
    } else if (command == "arc") {
      double v[5];
      for (double& value : v) value = in.Number();
      path.ArcTo({v[0], v[1]}, v[2], v[3], v[4], !in.Has("ccw"), in.Has("large"));
    } else if (command == "fill" || command == "stroke" || command == "contains" ||
               command == "bounds") {
      // Drawing reads a closed geometry: the open figure ends here, as the sink's Close wants.
      if (inFigure) path.EndFigure(false);
      inFigure = false;
      if (command == "fill") {
        painter.Fill(path, transform, paint);
      } else if (command == "stroke") {
        painter.Stroke(path, transform, in.Number(), paint);
      } else if (command == "contains") {
        const double x = in.Number(), y = in.Number();
        double tolerance = in.Number();
        if (!(tolerance > 0.0)) tolerance = 0.25;  // the geometry's default
        const bool inside = PathFillContains(path, transform, tolerance, {x, y});
        CheckContainsAgainstBounds(path, transform, {x, y}, tolerance, inside);
      } else {
        PathBounds(path, transform);
      }
    }
  }
  return 0;
}
