#pragma once
// The colour model: 8-bit RGB entries, their Direct2D form and their gray form.

#include <cstdint>

struct RgbColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// Luminance 0.21 R + 0.72 G + 0.07 B with single-precision weights, summed in double and rounded
// to the nearest integer, halves to even.
int GrayLevel(int red, int green, int blue);

// The entry with all three components set to its gray level.
RgbColour ToGray(RgbColour colour);
