#include "tests/app/focus_lines.h"

#include <cmath>
#include <sstream>
#include <vector>

namespace apptest {
namespace {

// The runs of white and black pixels outward from one side of a chart's rectangle, as
// "white 2; black 3; ": device-independent units from the side to the inner edge of a run's first
// pixel, up to 5 units out. The side lies at edge (pixels, along the axis of outward), the
// scanned row or column at across.
std::string FocusLinesAt(const ClientShot& shot, float scale, float edge, int across, int outward,
                         bool horizontal) {
  std::ostringstream runs;
  Pixel last{-1, -1, -1};
  // Pixel p's inner edge lies at p going right or down, at p + 1 going left or up.
  const int first =
      outward > 0 ? static_cast<int>(std::floor(edge)) : static_cast<int>(std::ceil(edge)) - 1;
  for (int p = first;; p += outward) {
    const auto inner = static_cast<float>(outward > 0 ? p : p + 1);
    const float distance = (outward > 0 ? inner - edge : edge - inner) / scale;
    if (distance > 5.0f) break;
    const Pixel pixel = horizontal ? shot.At(p, across) : shot.At(across, p);
    const char* name = pixel == Pixel{255, 255, 255} ? "white"
                       : pixel == Pixel{0, 0, 0}     ? "black"
                                                     : "";
    if (pixel != last && *name != '\0') runs << name << " " << distance << "; ";
    last = pixel;
  }
  return runs.str();
}

}  // namespace

std::string FocusLinesAround(const ClientShot& shot, float scale, const D2D1_RECT_F& rectangle) {
  const float left = rectangle.left * scale;
  const float right = rectangle.right * scale;
  const float top = rectangle.top * scale;
  const float bottom = rectangle.bottom * scale;
  const int midX = static_cast<int>(std::lround((left + right) / 2));
  const int midY = static_cast<int>(std::lround((top + bottom) / 2));
  return "left: " + FocusLinesAt(shot, scale, left, midY, -1, true) +
         "right: " + FocusLinesAt(shot, scale, right, midY, 1, true) +
         "top: " + FocusLinesAt(shot, scale, top, midX, -1, false) +
         "bottom: " + FocusLinesAt(shot, scale, bottom, midX, 1, false);
}

// Whether every side shows a white line and then a black one, both between 2 and 5 units out.
std::string FocusRectangleProblems(const std::string& sides) {
  std::istringstream in(sides);
  std::string word;
  std::ostringstream problems;
  std::string side;
  std::vector<std::string> colours;
  const auto finish = [&] {
    if (!side.empty() && colours != std::vector<std::string>{"white", "black"}) {
      problems << side << " has no white line followed by a black one; ";
    }
    colours.clear();
  };
  while (in >> word) {
    if (word.back() == ':') {
      finish();
      side = word;
      continue;
    }
    float distance = 0.0f;
    char separator = 0;
    in >> distance >> separator;
    colours.push_back(word);
    if (distance < 2.0f - 1e-3f || distance > 5.0f) {
      problems << side << " " << word << " line at " << distance << " units; ";
    }
  }
  finish();
  return problems.str();
}

}  // namespace apptest
