#pragma once
// Scan conversion of polygons into per-pixel coverage.
//
// Antialiased mode computes each pixel's coverage exactly from the area of the polygon inside
// it: every edge deposits, per pixel cell of each row it crosses, the signed area it encloses
// to its right within that cell, and the remainder of its height in the next cell; a running sum
// along the row then yields each pixel's signed covered area. Aliased mode deposits one unit of
// winding per row at the first pixel centre right of the edge, giving the winding at pixel
// centres. The fill rule only decides how the summed winding maps to coverage.
//
// Buffers are kept between uses, and only the touched part of each row is visited and reset.

#include <cstddef>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/d2d1/path.h"
#include "platform/d2d1/vec2.h"

namespace standin {

class Rasterizer {
 public:
  // Makes the buffers fit a target of width x height pixels; clears any pending edges.
  void Resize(int width, int height);
  void SetAntialiased(bool antialiased) { antialiased_ = antialiased; }
  // Deposits only into rows first .. last (limited to the target; all of them after Resize).
  // Rows are summed independently, so the rows kept come out exactly as without the limit.
  void LimitRows(int first, int last);

  // One polygon edge in pixel coordinates (pixel (x, y) spans [x, x+1) x [y, y+1)).
  void AddEdge(Vec2 from, Vec2 to);

  // Hands the coverage (0..1) of each touched row to sink.Span(y, x, count, coverage), as runs
  // of pixels that share one coverage, and leaves the rasterizer empty for the next polygon.
  template <typename SpanSink>
  void Sweep(FillRule rule, SpanSink& sink);

 private:
  void AddRowSpan(double x0, double dy, double x1, int row);
  void AddClippedEdge(Vec2 from, Vec2 to);
  void Deposit(int row, int column, float value);
  void TouchRows(int first, int last);
  template <typename Mapping, typename SpanSink>
  void SweepRows(Mapping map, SpanSink& sink);

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // width + 2: deposits may land one cell beyond the last pixel
  bool antialiased_ = true;
  int rowsFrom_ = 0, rowsTo_ = 0;  // the rows deposited into, the last one excluded
  std::vector<float> cells_;
  std::vector<int> rowFirst_, rowLast_;  // touched cells per row; first > last when untouched
  int firstRow_ = 0, lastRow_ = -1;
};

template <typename SpanSink>
void Rasterizer::Sweep(FillRule rule, SpanSink& sink) {
  if (!antialiased_) {
    if (rule == FillRule::Winding) {
      SweepRows([](float s) { return std::fabs(s) > 0.5f ? 1.0f : 0.0f; }, sink);
    } else {
      SweepRows([](float s) { return (std::lround(s) & 1) != 0 ? 1.0f : 0.0f; }, sink);
    }
  } else if (rule == FillRule::Winding) {
    SweepRows([](float s) { return std::min(1.0f, std::fabs(s)); }, sink);
  } else {
    SweepRows(
        [](float s) {
          float v = std::fabs(s);
          if (v > 1.0f) {
            v -= 2.0f * std::floor(v * 0.5f);  // winding modulo 2
            if (v > 1.0f) v = 2.0f - v;
          }
          return v;
        },
        sink);
  }
  firstRow_ = height_;
  lastRow_ = -1;
}

// Between deposits the running sum stays put, so each deposit starts a run of one coverage
// that lasts until the next non-empty cell.
template <typename Mapping, typename SpanSink>
void Rasterizer::SweepRows(Mapping map, SpanSink& sink) {
  for (int y = firstRow_; y <= lastRow_; ++y) {
    const int first = rowFirst_[y];
    const int last = rowLast_[y];
    if (first > last) continue;
    float* cells = cells_.data() + static_cast<std::size_t>(y) * stride_;
    const int end = std::min(last, width_ - 1);
    float sum = 0.0f;
    int x = first;
    while (x <= end) {
      sum += cells[x];
      cells[x] = 0.0f;
      int next = x + 1;
      while (next <= end && cells[next] == 0.0f) ++next;
      sink.Span(y, x, next - x, map(sum));
      x = next;
    }
    // Cells past the right border hold deposits of edges pressed onto it.
    for (x = std::max(first, end + 1); x <= last; ++x) {
      sum += cells[x];
      cells[x] = 0.0f;
    }
    rowFirst_[y] = stride_;
    rowLast_[y] = -1;
    // A closed outline sums to zero by its last deposit; an unclosed one leaves a remainder
    // that covers the rest of the row.
    if (std::fabs(sum) > 1e-3f && end + 1 < width_ && end >= first) {
      sink.Span(y, end + 1, width_ - end - 1, map(sum));
    }
  }
}

}  // namespace standin
