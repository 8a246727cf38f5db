#include "palette/palette_colours.h"

namespace palette_colours {
namespace {

// Entries 0 and 5 are the same colour on purpose.
const RgbColour kBerry[] = {
    {138, 43, 226},  {186, 85, 211},  {65, 105, 225}, {199, 21, 133}, {0, 0, 255},   {138, 43, 226},
    {218, 112, 214}, {123, 104, 238}, {192, 0, 192},  {0, 0, 205},    {128, 0, 128},
};

const RgbColour kBright[] = {
    {0, 128, 0},   {0, 0, 255},     {128, 0, 128}, {0, 255, 0},     {255, 0, 255}, {0, 128, 128},
    {255, 255, 0}, {128, 128, 128}, {0, 255, 255}, {0, 0, 128},     {128, 0, 0},   {255, 0, 0},
    {128, 128, 0}, {192, 192, 192}, {255, 99, 71}, {255, 228, 181},
};

const RgbColour kBrightPastel[] = {
    {65, 140, 240},  {252, 180, 65},  {224, 64, 10},   {5, 100, 146},  {191, 191, 191},
    {26, 59, 105},   {255, 227, 130}, {18, 156, 221},  {202, 107, 75}, {0, 92, 219},
    {243, 210, 136}, {80, 99, 129},   {241, 185, 168}, {224, 131, 10}, {120, 147, 190},
};

const RgbColour kEarth[] = {
    {255, 128, 0},   {184, 134, 11}, {192, 64, 0},  {107, 142, 35}, {205, 133, 63}, {192, 192, 0},
    {34, 139, 34},   {210, 105, 30}, {128, 128, 0}, {32, 178, 170}, {244, 164, 96}, {0, 192, 0},
    {143, 188, 139}, {178, 34, 34},  {139, 69, 19}, {192, 0, 0},
};

const RgbColour kFire[] = {
    {255, 215, 0}, {255, 0, 0},  {255, 20, 147}, {220, 20, 60},  {255, 140, 0},   {255, 0, 255},
    {255, 255, 0}, {255, 69, 0}, {199, 21, 133}, {221, 226, 33}, {255, 255, 255},
};

}  // namespace

const std::span<const RgbColour> Berry{kBerry};
const std::span<const RgbColour> Bright{kBright};
const std::span<const RgbColour> BrightPastel{kBrightPastel};
const std::span<const RgbColour> Earth{kEarth};
const std::span<const RgbColour> Fire{kFire};

}  // namespace palette_colours
