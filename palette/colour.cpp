#include "palette/colour.h"

#include <cmath>

int GrayLevel(int red, int green, int blue) {
  const float redWeight = 0.21f;
  const float greenWeight = 0.72f;
  const float blueWeight = 0.07f;
  const double luminance = static_cast<double>(redWeight) * red +
                           static_cast<double>(greenWeight) * green +
                           static_cast<double>(blueWeight) * blue;
  // nearbyint rounds in the default mode, to nearest with halves to even.
  return static_cast<int>(std::nearbyint(luminance));
}

RgbColour ToGray(RgbColour colour) {
  const auto level = static_cast<std::uint8_t>(GrayLevel(colour.red, colour.green, colour.blue));
  return RgbColour{level, level, level};
}
