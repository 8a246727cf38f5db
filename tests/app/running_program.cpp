#include "tests/app/running_program.h"

#include <cmath>

#include "app/app_state.h"
#include "chart/degrees.h"
#include "helpers/win32.h"

namespace apptest {

std::ostream& operator<<(std::ostream& out, const BeyondRim& beyond) {
  return out << beyond.count << " pixels beyond the upper rim, the first at (" << beyond.first.x
             << ", " << beyond.first.y << ")";
}

void RunningProgram::SetUp() {
  SetCursorPos(0, 0);  // away from the window, which would otherwise select a slice
  program_ = std::make_unique<ProgramProcess>(ProgramProcess::Environment{});
  window_ = program_->Window();
  ASSERT_TRUE(window_) << program_->Failure();
  scale_ = static_cast<float>(win32::ScreenDpi()) / 96.0f;
  // A frame reaches the window in one copy: the background shows only together with the charts.
  const Observed first = WaitForPicture(
      window_, [&](const ClientShot& shot) { return ChartsMissing(shot, scale_).empty(); }, 20000);
  ASSERT_TRUE(first.met) << "the first frame was not drawn within 20 s; "
                         << SavedForDiagnosis(first.shot, "first-frame");
}

Observed RunningProgram::AtRest(const std::string& step) const {
  ClientShot last(window_);
  const ULONGLONG end = GetTickCount64() + kPictureDeadlineMs;
  while (GetTickCount64() < end) {
    Sleep(100);
    ClientShot next(window_);
    if (next == last) return Observed{true, std::move(next)};
    last = std::move(next);
  }
  ADD_FAILURE() << "the picture did not come to rest after " << step << "; "
                << SavedForDiagnosis(last, step + "-not-at-rest");
  return Observed{false, std::move(last)};
}

std::wstring RunningProgram::Caption() const { return win32::TextOf(window_); }

float RunningProgram::ClientWidthInDips() const {
  return static_cast<float>(win32::ClientBounds(window_).right) / scale_;
}

POINT RunningProgram::OnUpperChart(float degrees, float fraction) const {
  const float radians = degrees * kDegreesToRadians;
  return Pixels(ClientWidthInDips() / 2 + fraction * 170 * std::sin(radians),
                110 + fraction * 70 * std::cos(radians));
}

RECT RunningProgram::ControlRect(int id) const {
  return win32::ChildBounds(GetDlgItem(window_, id));
}

HWND RunningProgram::ShownTooltip() const {
  for (const HWND window : win32::VisibleWindowsOf(program_->Id())) {
    if (win32::ClassNameOf(window) == L"tooltips_class32") return window;
  }
  return nullptr;
}

BeyondRim RunningProgram::FindBeyondRim(const ClientShot& shot) const {
  std::vector<RECT> covered{ControlRect(IdRegen), ControlRect(IdGray)};
  if (const HWND tooltip = ShownTooltip()) {
    RECT tip = win32::WindowBounds(tooltip);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&tip), 2);
    covered.push_back(tip);
  }
  const float centreX = ClientWidthInDips() / 2 * scale_;
  const float centreY = 110 * scale_;
  BeyondRim beyond;
  for (int y = 0; y < shot.Height(); ++y) {
    for (int x = 0; x < shot.Width(); ++x) {
      const float px = static_cast<float>(x) + 0.5f - centreX;
      const float py = static_cast<float>(y) + 0.5f - centreY;
      const float dx = px / (170 * scale_);
      const float dy = py / (70 * scale_);
      const float distance = std::sqrt(dx * dx + dy * dy);
      // The chart's rectangle (400 x 200) ends before its focus rectangle begins.
      if (distance < 1.05f || distance > 1.25f || std::fabs(px) > 199 * scale_ ||
          std::fabs(py) > 99 * scale_) {
        continue;
      }
      bool onCovered = false;
      for (const RECT& r : covered) {
        onCovered |= x >= r.left - 1 && x <= r.right && y >= r.top - 1 && y <= r.bottom;
      }
      if (onCovered || shot.At(x, y) == Background) continue;
      if (beyond.count++ == 0) beyond.first = POINT{x, y};
    }
  }
  return beyond;
}

void RunningProgram::MovePointer(POINT point) const {
  ClientToScreen(window_, &point);
  // Absolute moves are in 65536ths of the virtual screen.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>(((point.x - left) * 65536LL + width / 2) / width);
  move.mi.dy = static_cast<LONG>(((point.y - top) * 65536LL + height / 2) / height);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &move, sizeof(move));
}

::testing::AssertionResult RunningProgram::PointerMovedTo(float degrees, float fraction, bool out,
                                                          const std::string& step) const {
  const POINT point = OnUpperChart(degrees, fraction);
  MovePointer(point);
  int polls = 0;
  const Observed seen = WaitForPicture(window_, [&](const ClientShot& shot) {
    // Again now and then: a move made while the window was still moving to a new place (a
    // change of DPI) may have reached it at another point. A pointer already there makes no
    // move, so each new move goes to a neighbouring pixel of the same slice, or back.
    if (++polls % 10 == 0) MovePointer({point.x + (polls / 10) % 2, point.y});
    return (FindBeyondRim(shot).count > 0) == out;
  });
  if (seen.met) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << FindBeyondRim(seen.shot) << " after the pointer moved to (" << point.x << ", "
         << point.y << "); " << SavedForDiagnosis(seen.shot, step);
}

}  // namespace apptest
