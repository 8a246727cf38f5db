#include "platform/d2d1/surface.h"

#include <algorithm>
#include <cmath>

#include "platform/d2d1/resize_buffer.h"

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
  ResizeBuffer(pixels_, static_cast<std::size_t>(width_) * height_, 0u);
}

void Surface::Clear(const Paint& paint) { std::fill(pixels_.begin(), pixels_.end(), paint.pixel); }

void Surface::FillSpan(int y, int x, int count, const Paint& paint) {
  if (y < 0 || y >= height_ || count <= 0) return;
  std::uint32_t* pixel = pixels_.data() + static_cast<std::size_t>(y) * width_ + x;
  std::fill(pixel, pixel + count, paint.pixel);
}

void Surface::BlendSpan(int y, int x, int count, float coverage, const Paint& paint) {
  // Coverage summed from many edges lands a hair off 0 or 1; what rounds to 0 or 255 is
  // no cover or full cover.
  constexpr float kNone = 0.5f / 255.0f;
  constexpr float kFull = 254.5f / 255.0f;
  if (y < 0 || y >= height_ || count <= 0 || paint.a == 0 || coverage < kNone) return;
  std::uint32_t* pixel = pixels_.data() + static_cast<std::size_t>(y) * width_ + x;
  if (paint.a == 255 && coverage >= kFull) {
    std::fill(pixel, pixel + count, paint.pixel);
    return;
  }
  // NOLINTNEXTLINE(bugprone-incorrect-roundings): coverage is positive, so + 0.5 rounds
  const std::uint32_t k = static_cast<std::uint32_t>(std::min(coverage, 1.0f) * 255.0f + 0.5f);
  const std::uint32_t keep = 255 - Div255(paint.a * k);
  // Two channels per multiply: blue and red in one word, green and alpha in another.
  const std::uint32_t sourceRb = Div255(paint.b * k) | (Div255(paint.r * k) << 16);
  const std::uint32_t sourceGa = Div255(paint.g * k) | (Div255(paint.a * k) << 16);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t d = pixel[i];
    std::uint32_t rb = (d & 0x00ff00ffu) * keep + 0x00800080u;
    std::uint32_t ga = ((d >> 8) & 0x00ff00ffu) * keep + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;  // each half divided by 255
    ga = ((ga + ((ga >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    pixel[i] = (rb + sourceRb) | ((ga + sourceGa) << 8);
  }
}

}  // namespace standin
