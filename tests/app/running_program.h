#pragma once
// The built program running in a process of its own, used through its window as a person would:
// real input (the pointer and the keyboard through SendInput), what the screen shows, and the
// program's own state where Win32 tells it (focus, caption, rectangles, its tooltip).

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "tests/app/program_process.h"
#include "tests/app/screen_capture.h"

namespace apptest {

// Pixels of a picture that lie beyond the upper chart's rim, where only a pulled-out slice is
// drawn: between 1.05 and 1.25 of the radii from the centre, inside the chart's rectangle, and
// neither on a control nor under the program's tooltip.
struct BeyondRim {
  int count = 0;
  POINT first{-1, -1};
};

std::ostream& operator<<(std::ostream& out, const BeyondRim& beyond);

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override;

  // The picture once an animation that a step started has ended: two reads 100 ms apart agree.
  // Only taken after the step's own effect was seen, so that the program has handled the step.
  Observed AtRest(const std::string& step) const;

  std::wstring Caption() const;

  // Client pixel of a point given in device-independent units.
  POINT Pixels(float x, float y) const {
    return POINT{std::lround(x * scale_), std::lround(y * scale_)};
  }

  float ClientWidthInDips() const;

  // Point at angle degrees (0 points down, 90 right) and fraction of the radii of the upper
  // (400 x 200 at top 10) chart, which is centred horizontally.
  POINT OnUpperChart(float degrees, float fraction) const;

  // Up and to the right of the upper chart's centre. The pointer's tooltip stands below the
  // pointer, so it cannot hide what the slice under a pointer there draws beyond the rim.
  static constexpr float kAboveRight = 135;

  // A control's rectangle in the main window's client pixels.
  RECT ControlRect(int id) const;

  BeyondRim FindBeyondRim(const ClientShot& shot) const;

  // Moves the real pointer to the client pixel point (SendInput).
  void MovePointer(POINT point) const;

  // Moves the pointer to the point at degrees and fraction of the upper chart's radii, then
  // passes once part of a slice is drawn beyond the upper rim (out) or none is; the picture is
  // saved as step when that does not come.
  ::testing::AssertionResult PointerMovedTo(float degrees, float fraction, bool out,
                                            const std::string& step) const;

  // The program's tooltip window while it shows, else null.
  HWND ShownTooltip() const;

  std::unique_ptr<ProgramProcess> program_;
  HWND window_ = nullptr;
  float scale_ = 1.0f;
};

}  // namespace apptest
