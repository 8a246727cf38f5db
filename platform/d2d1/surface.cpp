#include "platform/d2d1/surface.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

std::uint32_t ToByte(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return 255;
  return static_cast<std::uint32_t>(std::lround(v * 255.0f));
}

// x / 255 rounded, for x in 0..255*255.
std::uint32_t Div255(std::uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

}  // namespace

Paint MakePaint(float r, float g, float b, float a, float opacity) {
  const float alpha = std::clamp(a, 0.0f, 1.0f) * std::clamp(opacity, 0.0f, 1.0f);
  Paint paint;
  paint.a = ToByte(alpha);
  paint.r = ToByte(std::clamp(r, 0.0f, 1.0f) * alpha);
  paint.g = ToByte(std::clamp(g, 0.0f, 1.0f) * alpha);
  paint.b = ToByte(std::clamp(b, 0.0f, 1.0f) * alpha);
  paint.pixel = paint.b | (paint.g << 8) | (paint.r << 16) | (paint.a << 24);
  return paint;
}

void Surface::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * height_, 0u);
}

void Surface::Clear(const Paint& paint) { std::fill(pixels_.begin(), pixels_.end(), paint.pixel); }

void Surface::BlendRow(int y, int x, int count, const float* coverage, const Paint& paint) {
  if (y < 0 || y >= height_ || paint.a == 0) return;
  std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
  const bool opaque = paint.a == 255;
  // Coverage summed from many edges lands a hair under 1 inside a shape; anything that rounds
  // to 255 is full cover.
  constexpr float kFull = 254.5f / 255.0f;
  constexpr float kNone = 0.5f / 255.0f;  // and below this, none
  for (int i = 0; i < count;) {
    const float c = coverage[i];
    if (c < kNone) {
      ++i;
      while (i < count && coverage[i] < kNone) ++i;
      continue;
    }
    if (opaque && c >= kFull) {
      // Runs of full cover are the bulk of a fill: plain stores.
      int end = i + 1;
      while (end < count && coverage[end] >= kFull) ++end;
      std::fill(row + x + i, row + x + end, paint.pixel);
      i = end;
      continue;
    }
    std::uint32_t& dst = row[x + i];
    ++i;
    const std::uint32_t k = static_cast<std::uint32_t>(std::min(c, 1.0f) * 255.0f + 0.5f);
    const std::uint32_t keep = 255 - Div255(paint.a * k);
    const std::uint32_t b = Div255(paint.b * k + (dst & 0xff) * keep);
    const std::uint32_t g = Div255(paint.g * k + ((dst >> 8) & 0xff) * keep);
    const std::uint32_t r = Div255(paint.r * k + ((dst >> 16) & 0xff) * keep);
    const std::uint32_t a = Div255(paint.a * k + (dst >> 24) * keep);
    dst = b | (g << 8) | (r << 16) | (a << 24);
  }
}

}  // namespace standin
