#pragma once
// The colour lists of the five palettes, in slice order.

#include <span>

#include "palette/colour.h"

namespace palette_colours {
extern const std::span<const RgbColour> Berry;
extern const std::span<const RgbColour> Bright;
extern const std::span<const RgbColour> BrightPastel;
extern const std::span<const RgbColour> Earth;
extern const std::span<const RgbColour> Fire;
}  // namespace palette_colours
