#pragma once
// The frame's pixels: 32-bit BGRA with premultiplied alpha, top row first, and source-over
// blending of a solid colour through per-pixel coverage.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// A solid colour, premultiplied and reduced to 8 bits per channel.
struct Paint {
  std::uint32_t b = 0, g = 0, r = 0, a = 0;
  std::uint32_t pixel = 0;  // the same colour packed as one BGRA pixel
};

// Straight (not premultiplied) components in 0..1; opacity multiplies alpha.
Paint MakePaint(float r, float g, float b, float a, float opacity);

class Surface {
 public:
  void Resize(int width, int height);
  void Clear(const Paint& paint);
  // Sets pixels x .. x + count - 1 of row y to paint, replacing what was there.
  void FillSpan(int y, int x, int count, const Paint& paint);
  // Source-over of paint at one coverage (0..1) onto pixels x .. x + count - 1 of row y.
  void BlendSpan(int y, int x, int count, float coverage, const Paint& paint);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace standin
