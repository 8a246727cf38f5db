#include "platform/d2d1/rasterizer.h"

#include <algorithm>
#include <cmath>

#include "platform/d2d1/resize_buffer.h"

namespace standin {

void Rasterizer::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  stride_ = width_ + 2;
  ResizeBuffer(cells_, static_cast<std::size_t>(stride_) * height_, 0.0f);
  ResizeBuffer(rowFirst_, static_cast<std::size_t>(height_), stride_);
  ResizeBuffer(rowLast_, static_cast<std::size_t>(height_), -1);
  firstRow_ = height_;
  lastRow_ = -1;
  rowsFrom_ = 0;
  rowsTo_ = height_;
}

void Rasterizer::LimitRows(int first, int last) {
  rowsFrom_ = std::clamp(first, 0, height_);
  rowsTo_ = std::clamp(last + 1, rowsFrom_, height_);
}

void Rasterizer::Deposit(int row, int column, float value) {
  cells_[static_cast<std::size_t>(row) * stride_ + column] += value;
  if (column < rowFirst_[row]) rowFirst_[row] = column;
  if (column > rowLast_[row]) rowLast_[row] = column;
}

void Rasterizer::TouchRows(int first, int last) {
  if (first < firstRow_) firstRow_ = first;
  if (last > lastRow_) lastRow_ = last;
}

void Rasterizer::AddEdge(Vec2 from, Vec2 to) {
  if (width_ == 0 || height_ == 0) return;
  if (from.y == to.y) return;  // horizontal edges enclose no height
  if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
      !std::isfinite(to.y)) {
    return;
  }
  // Split where the edge crosses the left and right borders: outside them it is pressed onto
  // the border, which keeps the area to its right unchanged within the target.
  const double borders[2] = {0.0, static_cast<double>(width_)};
  double cuts[2];
  int cutCount = 0;
  for (const double border : borders) {
    if ((from.x < border) != (to.x < border) && from.x != to.x) {
      cuts[cutCount++] = (border - from.x) / (to.x - from.x);
    }
  }
  if (cutCount == 2 && cuts[0] > cuts[1]) std::swap(cuts[0], cuts[1]);
  Vec2 start = from;
  for (int i = 0; i < cutCount; ++i) {
    const Vec2 cut = from + (to - from) * cuts[i];
    AddClippedEdge(start, cut);
    start = cut;
  }
  AddClippedEdge(start, to);
}

void Rasterizer::AddClippedEdge(Vec2 from, Vec2 to) {
  // A cut of an edge spanning more than the doubles hold comes out NaN; no row number may be
  // made from one.
  if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
      !std::isfinite(to.y)) {
    return;
  }
  const double w = width_;
  from.x = std::clamp(from.x, 0.0, w);
  to.x = std::clamp(to.x, 0.0, w);
  if (from.y == to.y) return;
  const double direction = to.y > from.y ? 1.0 : -1.0;
  const Vec2 top = to.y > from.y ? from : to;
  const Vec2 bottom = to.y > from.y ? to : from;
  const double slope = (bottom.x - top.x) / (bottom.y - top.y);  // dx per unit of y
  // So flat in height that the slope overflows: the edge encloses no area a float can hold.
  if (!std::isfinite(slope)) return;

  if (!antialiased_) {
    // Rows whose centre lies in [top, bottom): one unit at the first centre not left of x.
    // Limited to the target in double first: far outside it the row numbers overflow an int.
    const double firstCentre = std::ceil(top.y - 0.5);
    const double endCentre = std::ceil(bottom.y - 0.5);
    if (endCentre <= rowsFrom_ || firstCentre >= rowsTo_) return;
    const int rowStart = static_cast<int>(std::max(firstCentre, static_cast<double>(rowsFrom_)));
    const int rowEnd = static_cast<int>(std::min(endCentre, static_cast<double>(rowsTo_))) - 1;
    if (rowStart > rowEnd) return;
    TouchRows(rowStart, rowEnd);
    for (int row = rowStart; row <= rowEnd; ++row) {
      const double x = top.x + (row + 0.5 - top.y) * slope;
      const int column = std::clamp(static_cast<int>(std::ceil(x - 0.5)), 0, width_);
      Deposit(row, column, static_cast<float>(direction));
    }
    return;
  }

  const double yStart = std::max(top.y, static_cast<double>(rowsFrom_));
  const double yEnd = std::min(bottom.y, static_cast<double>(rowsTo_));
  if (yStart >= yEnd) return;
  const int rowStart = static_cast<int>(std::floor(yStart));
  const int rowEnd = std::min(rowsTo_ - 1, static_cast<int>(std::ceil(yEnd)) - 1);
  TouchRows(rowStart, rowEnd);
  for (int row = rowStart; row <= rowEnd; ++row) {
    const double y0 = std::max(yStart, static_cast<double>(row));
    const double y1 = std::min(yEnd, static_cast<double>(row + 1));
    if (y1 <= y0) continue;
    const double x0 = top.x + (y0 - top.y) * slope;
    const double x1 = top.x + (y1 - top.y) * slope;
    AddRowSpan(x0, (y1 - y0) * direction, x1, row);
  }
}

// One edge piece within one row: from x0 to x1 while covering height dy (signed). Which end is
// which does not matter for the area it bounds, only the sign of dy.
void Rasterizer::AddRowSpan(double x0, double dy, double x1, int row) {
  const double w = width_;
  const double lo = std::clamp(std::min(x0, x1), 0.0, w);
  const double hi = std::clamp(std::max(x0, x1), 0.0, w);
  float* cells = cells_.data() + static_cast<std::size_t>(row) * stride_;
  const int first = std::min(static_cast<int>(lo), width_);
  if (hi <= first + 1.0) {
    // Within one cell: the part of the cell right of the edge's middle is enclosed.
    const double inside = (lo + hi) / 2.0 - first;
    cells[first] += static_cast<float>(dy * (1.0 - inside));
    cells[first + 1] += static_cast<float>(dy * inside);
    if (first < rowFirst_[row]) rowFirst_[row] = first;
    if (first + 1 > rowLast_[row]) rowLast_[row] = first + 1;
    return;
  }
  // Across several cells, height shared in proportion to x travelled. A whole cell crossed
  // gives half its height to itself and half to the next, so inner cells receive it all.
  const double perX = dy / (hi - lo);
  const int last = static_cast<int>(std::ceil(hi)) - 1;  // the cell holding the right end
  const double headWidth = first + 1.0 - lo;
  const double head = perX * headWidth;
  const double headInside = headWidth / 2.0;  // part of the first cell right of the piece's middle
  cells[first] += static_cast<float>(head * headInside);
  double carry = head * (1.0 - headInside);
  for (int c = first + 1; c < last; ++c) {
    cells[c] += static_cast<float>(carry + perX * 0.5);
    carry = perX * 0.5;
  }
  const double tailWidth = hi - last;
  const double tail = perX * tailWidth;
  const double tailInside = tailWidth / 2.0;  // part of the last cell left of the piece's middle
  cells[last] += static_cast<float>(carry + tail * (1.0 - tailInside));
  cells[last + 1] += static_cast<float>(tail * tailInside);
  if (first < rowFirst_[row]) rowFirst_[row] = first;
  if (last + 1 > rowLast_[row]) rowLast_[row] = last + 1;
}

}  // namespace standin
