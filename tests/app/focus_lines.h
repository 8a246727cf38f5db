#pragma once
// The focus rectangle as a picture shows it: the runs of white and black pixels just outside a
// chart's rectangle, and what is wrong with them.

#include <d2d1.h>

#include <string>

#include "tests/app/screen_capture.h"

namespace apptest {

// The runs on the four sides of rectangle (device-independent units) in a picture at scale, as
// "left: white 2; black 3; right: ...": each run's colour and the distance in units from the
// side to its first pixel, up to 5 units out.
std::string FocusLinesAround(const ClientShot& shot, float scale, const D2D1_RECT_F& rectangle);

// What the runs show when no focus rectangle is drawn.
inline constexpr const char* kNoFocusLines = "left: right: top: bottom: ";

// What is wrong with the runs: every side should show a white line and then a black one, both
// between 2 and 5 units out; empty when nothing is.
std::string FocusRectangleProblems(const std::string& sides);

}  // namespace apptest
