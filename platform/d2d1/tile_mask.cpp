#include "platform/d2d1/tile_mask.h"

#include <algorithm>
#include <cmath>

#include "platform/d2d1/resize_buffer.h"

namespace standin {

void TileMask::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  columns_ = (width_ + kTile - 1) >> kShift;
  rows_ = (height_ + kTile - 1) >> kShift;
  ResizeBuffer(marks_, static_cast<std::size_t>(columns_) * rows_, std::uint8_t{0});
  any_ = false;
  firstMarkedRow_ = 0;
  lastMarkedRow_ = -1;
}

void TileMask::Reset() {
  std::fill(marks_.begin(), marks_.end(), std::uint8_t{0});
  any_ = false;
  firstMarkedRow_ = 0;
  lastMarkedRow_ = -1;
}

void TileMask::MarkAll() {
  std::fill(marks_.begin(), marks_.end(), std::uint8_t{1});
  any_ = !marks_.empty();
  firstMarkedRow_ = 0;
  lastMarkedRow_ = any_ ? rows_ - 1 : -1;
}

bool TileMask::MarkedRows(int* first, int* last) const {
  if (!any_) return false;
  *first = firstMarkedRow_ << kShift;
  *last = std::min((lastMarkedRow_ + 1) << kShift, height_) - 1;
  return true;
}

bool TileMask::TileRange(const Box& pixels, int* left, int* top, int* right, int* bottom) const {
  if (marks_.empty() || pixels.Empty()) return false;
  // Limited in double first: far outside the frame the numbers overflow an int. A box that is
  // not a number everywhere covers the whole frame.
  const auto column = [&](double x, int fallback) {
    if (std::isnan(x)) return fallback;
    return static_cast<int>(std::clamp(std::floor(x), 0.0, static_cast<double>(width_ - 1))) >>
           kShift;
  };
  const auto row = [&](double y, int fallback) {
    if (std::isnan(y)) return fallback;
    return static_cast<int>(std::clamp(std::floor(y), 0.0, static_cast<double>(height_ - 1))) >>
           kShift;
  };
  if (pixels.right < 0.0 || pixels.bottom < 0.0 || pixels.left >= width_ || pixels.top >= height_) {
    return false;
  }
  *left = column(pixels.left, 0);
  *right = column(pixels.right, columns_ - 1);
  *top = row(pixels.top, 0);
  *bottom = row(pixels.bottom, rows_ - 1);
  return *left <= *right && *top <= *bottom;
}

void TileMask::Mark(const Box& pixels) {
  int left = 0, top = 0, right = 0, bottom = 0;
  if (!TileRange(pixels, &left, &top, &right, &bottom)) return;
  for (int r = top; r <= bottom; ++r) {
    std::uint8_t* row = marks_.data() + static_cast<std::size_t>(r) * columns_;
    std::fill(row + left, row + right + 1, std::uint8_t{1});
  }
  firstMarkedRow_ = any_ ? std::min(firstMarkedRow_, top) : top;
  lastMarkedRow_ = any_ ? std::max(lastMarkedRow_, bottom) : bottom;
  any_ = true;
}

bool TileMask::Touches(const Box& pixels) const {
  int left = 0, top = 0, right = 0, bottom = 0;
  if (!any_ || !TileRange(pixels, &left, &top, &right, &bottom)) return false;
  for (int r = top; r <= bottom; ++r) {
    const std::uint8_t* row = marks_.data() + static_cast<std::size_t>(r) * columns_;
    if (std::find(row + left, row + right + 1, std::uint8_t{1}) != row + right + 1) return true;
  }
  return false;
}

bool TileMask::Covers(const Box& pixels) const {
  int left = 0, top = 0, right = 0, bottom = 0;
  if (!any_ || !TileRange(pixels, &left, &top, &right, &bottom)) return false;
  for (int r = top; r <= bottom; ++r) {
    const std::uint8_t* row = marks_.data() + static_cast<std::size_t>(r) * columns_;
    if (std::find(row + left, row + right + 1, std::uint8_t{0}) != row + right + 1) return false;
  }
  return true;
}

void TileMask::Rectangles(std::vector<PixelRect>& out) const {
  out.clear();
  if (!any_) return;
  // The rectangles that reach down to the row before: a run of this row with the same columns
  // extends one of them (runs of one row never overlap, so at most one matches).
  open_.clear();
  for (int r = 0; r < rows_; ++r) {
    const std::uint8_t* row = marks_.data() + static_cast<std::size_t>(r) * columns_;
    const int y = r << kShift;
    const int height = std::min(kTile, height_ - y);
    reaching_.clear();
    for (int c = 0; c < columns_;) {
      if (row[c] == 0) {
        ++c;
        continue;
      }
      int end = c;
      while (end < columns_ && row[end] != 0) ++end;
      const int x = c << kShift;
      const int width = std::min(end << kShift, width_) - x;
      const auto match = std::find_if(open_.begin(), open_.end(), [&](std::size_t i) {
        return out[i].x == x && out[i].width == width;
      });
      if (match != open_.end()) {
        out[*match].height += height;
        reaching_.push_back(*match);
      } else {
        out.push_back({x, y, width, height});
        reaching_.push_back(out.size() - 1);
      }
      c = end;
    }
    open_.swap(reaching_);
  }
}

}  // namespace standin
