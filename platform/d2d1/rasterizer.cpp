#include "platform/d2d1/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace standin {

void Rasterizer::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  stride_ = width_ + 2;
  cells_.assign(static_cast<size_t>(stride_) * height_, 0.0f);
  rowFirst_.assign(height_, stride_);
  rowLast_.assign(height_, -1);
  coverage_.assign(width_, 0.0f);
  firstRow_ = height_;
  lastRow_ = -1;
}

void Rasterizer::Deposit(int row, int column, float value) {
  cells_[static_cast<size_t>(row) * stride_ + column] += value;
  if (column < rowFirst_[row]) rowFirst_[row] = column;
  if (column > rowLast_[row]) rowLast_[row] = column;
  if (row < firstRow_) firstRow_ = row;
  if (row > lastRow_) lastRow_ = row;
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
  const double w = width_;
  from.x = std::clamp(from.x, 0.0, w);
  to.x = std::clamp(to.x, 0.0, w);
  if (from.y == to.y) return;
  const double direction = to.y > from.y ? 1.0 : -1.0;
  const Vec2 top = to.y > from.y ? from : to;
  const Vec2 bottom = to.y > from.y ? to : from;
  const double slope = (bottom.x - top.x) / (bottom.y - top.y);  // dx per unit of y

  if (!antialiased_) {
    // Rows whose centre lies in [top, bottom): one unit at the first centre not left of x.
    const int rowStart = std::max(0, static_cast<int>(std::ceil(top.y - 0.5)));
    const int rowEnd = std::min(height_ - 1, static_cast<int>(std::ceil(bottom.y - 0.5)) - 1);
    for (int row = rowStart; row <= rowEnd; ++row) {
      const double x = top.x + (row + 0.5 - top.y) * slope;
      const int column = std::clamp(static_cast<int>(std::ceil(x - 0.5)), 0, width_);
      Deposit(row, column, static_cast<float>(direction));
    }
    return;
  }

  const double yStart = std::max(top.y, 0.0);
  const double yEnd = std::min(bottom.y, static_cast<double>(height_));
  if (yStart >= yEnd) return;
  const int rowStart = static_cast<int>(std::floor(yStart));
  const int rowEnd = std::min(height_ - 1, static_cast<int>(std::ceil(yEnd)) - 1);
  for (int row = rowStart; row <= rowEnd; ++row) {
    const double y0 = std::max(yStart, static_cast<double>(row));
    const double y1 = std::min(yEnd, static_cast<double>(row + 1));
    if (y1 <= y0) continue;
    const double x0 = top.x + (y0 - top.y) * slope;
    const double x1 = top.x + (y1 - top.y) * slope;
    AddRowSpan(x0, (y1 - y0) * direction, x1, static_cast<double>(row));
  }
}

// One edge piece within one row: from x0 to x1 while covering height dy (signed).
void Rasterizer::AddRowSpan(double x0, double dy, double x1, double rowY) {
  const int row = static_cast<int>(rowY);
  const double w = width_;
  x0 = std::clamp(x0, 0.0, w);
  x1 = std::clamp(x1, 0.0, w);
  auto piece = [&](double xa, double xb, double height) {
    const double middle = (xa + xb) / 2.0;
    int column = static_cast<int>(std::floor(middle));
    if (column > width_) column = width_;
    const double inside = middle - column;  // part of the cell left of the edge
    Deposit(row, column, static_cast<float>(height * (1.0 - inside)));
    Deposit(row, column + 1, static_cast<float>(height * inside));
  };
  const double lo = std::min(x0, x1), hi = std::max(x0, x1);
  if (hi <= std::floor(lo) + 1.0) {
    piece(x0, x1, dy);
    return;
  }
  // Split at each vertical cell border, sharing the height in proportion to x travelled.
  const double run = x1 - x0;
  const double step = x1 > x0 ? 1.0 : -1.0;
  double xa = x0;
  double border = x1 > x0 ? std::floor(x0) + 1.0 : std::ceil(x0) - 1.0;
  while (x1 > x0 ? border < x1 : border > x1) {
    piece(xa, border, dy * (border - xa) / run);
    xa = border;
    border += step;
  }
  piece(xa, x1, dy * (x1 - xa) / run);
}

void Rasterizer::CoverRow(int y, FillRule rule) {
  float* cells = cells_.data() + static_cast<size_t>(y) * stride_;
  const int first = rowFirst_[y];
  const int last = rowLast_[y];
  // Past the last deposit the sum stays constant; it is zero unless the polygon was left open
  // or runs beyond the right border, so coverage continues to the border in that case.
  float sum = 0.0f;
  const int end = std::min(last, width_ - 1);
  coverFirst_ = std::min(first, width_);
  for (int x = first; x <= last; ++x) {
    sum += cells[x];
    cells[x] = 0.0f;
    if (x > end) continue;
    coverage_[x] = sum;
  }
  int stop = end;
  if (std::fabs(sum) > 1e-4f) {
    for (int x = end + 1; x < width_; ++x) coverage_[x] = sum;
    stop = width_ - 1;
  }
  rowFirst_[y] = stride_;
  rowLast_[y] = -1;
  coverCount_ = stop - coverFirst_ + 1;
  if (coverCount_ <= 0) {
    coverCount_ = 0;
    return;
  }
  float* out = coverage_.data() + coverFirst_;
  if (!antialiased_) {
    for (int i = 0; i < coverCount_; ++i) {
      const int winding = static_cast<int>(std::lround(out[i]));
      out[i] = (rule == FillRule::Winding ? winding != 0 : (winding & 1) != 0) ? 1.0f : 0.0f;
    }
  } else if (rule == FillRule::Winding) {
    for (int i = 0; i < coverCount_; ++i) out[i] = std::min(1.0f, std::fabs(out[i]));
  } else {
    for (int i = 0; i < coverCount_; ++i) {
      const float v = std::fmod(std::fabs(out[i]), 2.0f);
      out[i] = v > 1.0f ? 2.0f - v : v;
    }
  }
}

}  // namespace standin
