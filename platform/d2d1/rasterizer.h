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

  // One polygon edge in pixel coordinates (pixel (x, y) spans [x, x+1) x [y, y+1)).
  void AddEdge(Vec2 from, Vec2 to);

  // Hands each touched row's coverage (0..1 per pixel) to sink.Row(y, x, count, coverage) and
  // leaves the rasterizer empty for the next polygon.
  template <typename RowSink>
  void Sweep(FillRule rule, RowSink& sink);

  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  void AddRowSpan(double x0, double dy, double x1, double rowY);
  void AddClippedEdge(Vec2 from, Vec2 to);
  void Deposit(int row, int column, float value);
  void TouchRows(int first, int last);
  void CoverRow(int y, FillRule rule);

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // width + 2: deposits may land one cell beyond the last pixel
  bool antialiased_ = true;
  std::vector<float> cells_;
  std::vector<int> rowFirst_, rowLast_;  // touched cells per row; first > last when untouched
  int firstRow_ = 0, lastRow_ = -1;
  std::vector<float> coverage_;
  int coverFirst_ = 0, coverCount_ = 0;
};

template <typename RowSink>
void Rasterizer::Sweep(FillRule rule, RowSink& sink) {
  for (int y = firstRow_; y <= lastRow_; ++y) {
    if (rowFirst_[y] > rowLast_[y]) continue;
    CoverRow(y, rule);
    if (coverCount_ > 0) sink.Row(y, coverFirst_, coverCount_, coverage_.data() + coverFirst_);
  }
  firstRow_ = height_;
  lastRow_ = -1;
}

}  // namespace standin
