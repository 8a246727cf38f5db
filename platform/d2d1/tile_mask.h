#pragma once
// A mark per square tile of a frame: which parts of the frame a drawing may change and which
// parts the window must be given again.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d2d1/vec2.h"

namespace standin {

// A rectangle of pixels, left and top included.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

class TileMask {
 public:
  static constexpr int kShift = 5;
  static constexpr int kTile = 1 << kShift;  // pixels per tile side

  // Fits a frame of width x height pixels, no tile marked.
  void Resize(int width, int height);
  void Reset();
  void MarkAll();
  // Marks the tiles under a box of pixels (limited to the frame); all of them when the box is
  // not finite.
  void Mark(const Box& pixels);
  bool Any() const { return any_; }
  // The rows of pixels that the marked tiles span, first and last included; false when none is.
  bool MarkedRows(int* first, int* last) const;
  // Whether any tile under the box is marked, and whether all of them are.
  bool Touches(const Box& pixels) const;
  bool Covers(const Box& pixels) const;

  // Calls run(x, count) for each part of pixels x .. x + count - 1 of row y that lies in marked
  // tiles; x and count lie within the frame.
  template <typename Run>
  void ForEachRun(int y, int x, int count, Run run) const;

  // The marked tiles as rectangles within the frame: runs of each tile row, joined with the
  // rows below while they have the same run.
  void Rectangles(std::vector<PixelRect>& out) const;

 private:
  // The tile range of a box, limited to the frame; false when it holds no tile.
  bool TileRange(const Box& pixels, int* left, int* top, int* right, int* bottom) const;

  int width_ = 0, height_ = 0;
  int columns_ = 0, rows_ = 0;
  bool any_ = false;
  int firstMarkedRow_ = 0, lastMarkedRow_ = -1;       // tile rows, kept as tiles are marked
  std::vector<std::uint8_t> marks_;                   // row by row, one byte per tile
  mutable std::vector<std::size_t> open_, reaching_;  // Rectangles' working lists
};

template <typename Run>
void TileMask::ForEachRun(int y, int x, int count, Run run) const {
  const std::uint8_t* row = marks_.data() + static_cast<std::size_t>(y >> kShift) * columns_;
  const int end = x + count;
  int start = -1;
  for (int column = x >> kShift; (column << kShift) < end; ++column) {
    if (row[column] != 0) {
      if (start < 0) start = column << kShift < x ? x : column << kShift;
    } else if (start >= 0) {
      run(start, (column << kShift) - start);
      start = -1;
    }
  }
  if (start >= 0) run(start, end - start);
}

}  // namespace standin
