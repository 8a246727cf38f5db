// Starts the built program as its own process and uses it as a person would: through its window,
// its controls and what it shows on the screen. Every step waits, up to a deadline, for the
// picture that the step should produce; the program's own state (window and control rectangles,
// check state, caption) is read where it can be.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include "app/app_state.h"
#include "chart/slice_layout.h"
#include "helpers/win32.h"
#include "tests/app/dpi_suggestion.h"
#include "tests/app/program_process.h"
#include "tests/app/running_program.h"
#include "tests/app/screen_capture.h"
#include "tests/support/records.h"

namespace {

using apptest::Background;
using apptest::ChartsMissing;
using apptest::ClientShot;
using apptest::Observed;
using apptest::SavedForDiagnosis;
using apptest::WaitForPicture;

bool IsProgramCaption(const std::wstring& caption) {
  const std::wstring palette = L"(Berry|Bright|Bright Pastel|Earth|Fire)";
  return std::regex_match(caption, std::wregex(L"D2 Pie: " + palette + L", " + palette));
}

// First and last columns of a picture's row that are not background.
std::pair<int, int> ChartSpan(const ClientShot& shot, int row) {
  std::pair<int, int> span{-1, -1};
  for (int x = 0; x < shot.Width(); ++x) {
    if (shot.At(x, row) != Background) {
      if (span.first < 0) span.first = x;
      span.second = x;
    }
  }
  return span;
}

using apptest::BeyondRim;
using apptest::RunningProgram;

TEST_F(RunningProgram, ShowsItsWindowControlsAndChartsAndClosesWithZero) {
  EXPECT_EQ(win32::Sized(0, 0, std::lround(512 * scale_), std::lround(540 * scale_)),
            win32::ClientBounds(window_));
  EXPECT_TRUE(IsProgramCaption(Caption())) << win32::Narrow(Caption());

  const HWND regen = GetDlgItem(window_, IdRegen);
  const HWND gray = GetDlgItem(window_, IdGray);
  ASSERT_TRUE(regen && gray);
  EXPECT_EQ(L"Regen", win32::TextOf(regen));
  EXPECT_EQ(L"Gray", win32::TextOf(gray));
  EXPECT_EQ(0x50010F00u, win32::StyleOf(regen));
  EXPECT_EQ(0x50010D03u, win32::StyleOf(gray));
  EXPECT_EQ(BST_CHECKED, SendMessageW(gray, BM_GETCHECK, 0, 0));

  // Nothing animates at start: the first frame is the picture.
  const ClientShot shot(window_);
  std::ostringstream problems;
  problems << ChartsMissing(shot, scale_);
  // The upper chart starts in gray with nothing selected.
  for (int degrees = 5; degrees < 360; degrees += 10) {
    const POINT p = OnUpperChart(static_cast<float>(degrees), 0.6f);
    if (!shot.At(p.x, p.y).IsGray()) {
      problems << "not gray at " << degrees << " degrees (" << p.x << ", " << p.y
               << "): " << shot.At(p.x, p.y) << "; ";
    }
  }
  if (const BeyondRim beyond = FindBeyondRim(shot); beyond.count > 0) problems << beyond << "; ";
  EXPECT_EQ("", problems.str()) << SavedForDiagnosis(shot, "start");

  EXPECT_EQ(0, program_->Close());
  EXPECT_EQ("alive 0", program_->LeakReport());
}

TEST_F(RunningProgram, HoverRegenGrayAndResizeChangeThePicture) {
  const HWND gray = GetDlgItem(window_, IdGray);
  const HWND regen = GetDlgItem(window_, IdRegen);
  ASSERT_TRUE(gray && regen);
  {
    const ClientShot before(window_);
    const BeyondRim beyond = FindBeyondRim(before);
    ASSERT_EQ(0, beyond.count) << beyond << " before the hover; "
                               << SavedForDiagnosis(before, "start");
  }

  // The slice under the pointer moves out along its bisector: part of it is then drawn beyond
  // the rim, wherever the slice lies.
  ASSERT_TRUE(PointerMovedTo(kAboveRight, 0.6f, true, "hover"));
  const Observed out = AtRest("the hover");
  ASSERT_TRUE(out.met);

  // "Gray" off: slices that were gray show colour (the pulled-out slice kept its colour).
  SendMessageW(gray, BM_CLICK, 0, 0);
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(gray, BM_GETCHECK, 0, 0));
  const auto grayTurnedColour = [&](const ClientShot& shot) {
    for (int degrees = 1; degrees < 360; degrees += 2) {
      const POINT p = OnUpperChart(static_cast<float>(degrees), 0.5f);
      const apptest::Pixel now = shot.At(p.x, p.y);
      if (out.shot.At(p.x, p.y).IsGray() && !now.IsGray() && now != Background) return true;
    }
    return false;
  };
  const Observed coloured = WaitForPicture(window_, grayTurnedColour);
  ASSERT_TRUE(coloured.met) << "no gray slice of the upper chart turned to colour; "
                            << SavedForDiagnosis(coloured.shot, "gray-off");

  // "Regen": new values and palettes, so the lower chart, which nothing else changes, differs;
  // the caption names two palettes again.
  const auto lowerChart = [&](const ClientShot& shot) {
    const int top = Pixels(0, 220).y;
    const int bottom = Pixels(0, 520).y;
    return std::vector<std::uint32_t>(
        shot.Pixels().begin() + static_cast<std::ptrdiff_t>(top) * shot.Width(),
        shot.Pixels().begin() + static_cast<std::ptrdiff_t>(bottom) * shot.Width());
  };
  const std::vector<std::uint32_t> lowerBefore = lowerChart(coloured.shot);
  SendMessageW(regen, BM_CLICK, 0, 0);
  const Observed regenerated = WaitForPicture(window_, [&](const ClientShot& shot) {
    return shot.Width() == coloured.shot.Width() && lowerChart(shot) != lowerBefore;
  });
  EXPECT_TRUE(regenerated.met) << "the lower chart did not change after \"Regen\"; "
                               << SavedForDiagnosis(regenerated.shot, "regen");
  EXPECT_TRUE(IsProgramCaption(Caption())) << win32::Narrow(Caption());

  // Wider, from the screen's left edge so that all of it stays on the screen: both charts stay
  // centred. The new client width is read from the window before its picture is judged.
  const RECT frame = win32::WindowBounds(window_);
  RECT client = win32::ClientBounds(window_);
  const LONG wideWidth = client.right + std::lround(300 * scale_);
  SetWindowPos(window_, nullptr, 0, frame.top,
               frame.right - frame.left + (wideWidth - client.right), frame.bottom - frame.top,
               SWP_NOZORDER);
  ASSERT_TRUE(apptest::WaitUntil([&] {
    GetClientRect(window_, &client);
    return client.right == wideWidth;
  })) << "the client area is "
      << client.right << " wide, not " << wideWidth;
  const int row = Pixels(0, 370).y;
  // Along the lower chart's centre row, the first and last chart pixels are symmetric.
  const Observed wide = WaitForPicture(window_, [&](const ClientShot& shot) {
    const std::pair<int, int> span = ChartSpan(shot, row);
    return shot.Width() == wideWidth && span.first >= 0 &&
           std::fabs(shot.Width() / 2.0 - (span.first + span.second) / 2.0) <= 2.0 * scale_;
  });
  EXPECT_TRUE(wide.met) << "the lower chart spans columns " << ChartSpan(wide.shot, row).first
                        << " to " << ChartSpan(wide.shot, row).second << " of row " << row
                        << " in a picture " << wide.shot.Width() << " wide; "
                        << SavedForDiagnosis(wide.shot, "wider");

  EXPECT_EQ(0, program_->Close());
  EXPECT_EQ("alive 0", program_->LeakReport());
}

// Sends WM_DPICHANGED to the program's window as the system does; empty when it was handled. The
// rectangle goes in a copy in the program's memory, as the system makes one for a window of
// another process: Wine passes the pointer on unchanged.
std::string SendDpiChanged(HANDLE process, HWND window, UINT dpi, const RECT& suggested) {
  const auto release = [process](void* copy) { VirtualFreeEx(process, copy, 0, MEM_RELEASE); };
  const std::unique_ptr<void, decltype(release)> copy(
      VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE),
      release);
  SIZE_T written = 0;
  std::ostringstream failure;
  DWORD_PTR result = 1;
  if (!copy || !WriteProcessMemory(process, copy.get(), &suggested, sizeof(RECT), &written) ||
      written != sizeof(RECT)) {
    failure << "the rectangle could not be placed in the program: error " << GetLastError();
  } else if (!SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                  reinterpret_cast<LPARAM>(copy.get()), SMTO_ABORTIFHUNG, 10000,
                                  &result)) {
    failure << "WM_DPICHANGED was not handled within 10 s: error " << GetLastError();
  } else if (result != 0) {
    failure << "WM_DPICHANGED answered " << result;
  }
  return failure.str();
}

// Thirty more changes of DPI, to 144, 192 and back to startDpi, each with the window's own
// rectangle as the suggestion; empty when every one was handled.
std::string ThirtyMoreChangesOfDpi(HANDLE process, HWND window, int startDpi) {
  for (int round = 0; round < 10; ++round) {
    for (const int dpi : {144, 192, startDpi}) {
      const std::string failure = SendDpiChanged(process, window, dpi, win32::WindowBounds(window));
      if (!failure.empty()) return failure + " (to " + std::to_string(dpi) + " DPI)";
    }
  }
  return "";
}

// Width in pixels of the dark text drawn inside a control (its edges left out); 0 when there is
// none, and while the control is not painted yet: its rectangle then shows what lies behind it
// (black, or the dark background) from side to side, which its centred text never reaches.
int TextWidth(const ClientShot& shot) {
  constexpr int kEdge = 4;  // the control's border and focus rectangle
  int first = -1;
  int last = -1;
  for (int x = kEdge; x < shot.Width() - kEdge; ++x) {
    for (int y = kEdge; y < shot.Height() - kEdge; ++y) {
      const apptest::Pixel p = shot.At(x, y);
      if (p.red + p.green + p.blue < 240) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  if (first <= kEdge || last >= shot.Width() - kEdge - 1) return 0;  // none, or side to side
  return last - first + 1;
}

}  // namespace

// Wine never sends WM_DPICHANGED; the test sends it as the system would when the window moves to
// a monitor of another scaling, and checks what a user sees at each new DPI.
TEST_F(RunningProgram, FollowsEveryChangeOfDpi) {
  const int startDpi = win32::ScreenDpi();
  // The pointer away from wherever the window goes, so that only the test's moves count.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  RECT client{};
  const Observed regenAtStart = WaitForPicture(
      GetDlgItem(window_, IdRegen), [](const ClientShot& shot) { return TextWidth(shot) > 0; });
  ASSERT_TRUE(regenAtStart.met) << "no text read from the \"Regen\" button; "
                                << SavedForDiagnosis(regenAtStart.shot, "text-at-start");
  const int regenTextAtStart = TextWidth(regenAtStart.shot);

  for (const int dpi : {144, startDpi == 96 ? 120 : 96, 192, startDpi}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    const double scale = dpi / 96.0;
    const RECT suggested = apptest::SuggestedWindowRect(window_, dpi);
    ASSERT_EQ("", SendDpiChanged(program_->Handle(), window_, dpi, suggested));
    scale_ = static_cast<float>(scale);

    EXPECT_EQ(suggested, win32::WindowBounds(window_)) << "the window's rectangle";
    EXPECT_EQ(apptest::ControlRectAt(RegenPlace, dpi), ControlRect(IdRegen)) << "\"Regen\"";
    EXPECT_EQ(apptest::ControlRectAt(GrayPlace, dpi), ControlRect(IdGray)) << "\"Gray\"";

    // The text grows and shrinks with the font: its width follows the DPI, within what the
    // rounding of a font to whole pixels gives.
    const double expectedText = regenTextAtStart * dpi / static_cast<double>(startDpi);
    const Observed text = WaitForPicture(GetDlgItem(window_, IdRegen), [&](const ClientShot& shot) {
      return std::fabs(TextWidth(shot) - expectedText) <= 0.12 * expectedText;
    });
    EXPECT_TRUE(text.met) << "the \"Regen\" text is " << TextWidth(text.shot)
                          << " pixels wide, about " << expectedText << " expected; "
                          << SavedForDiagnosis(text.shot, "text-" + std::to_string(dpi));

    // Both charts at their logical size in the new pixels, centred: along the centre row of the
    // lower pie (240 units wide) and of the upper one (340 and its 2-unit outline).
    GetClientRect(window_, &client);
    const int upperRow = Pixels(0, 110).y;
    const int lowerRow = Pixels(0, 370).y;
    const auto fits = [&](const std::pair<int, int>& span, double width, int clientWidth) {
      return span.first >= 0 && std::fabs(span.second - span.first + 1 - width) <= 3.0 &&
             std::fabs(clientWidth / 2.0 - (span.first + span.second + 1) / 2.0) <= 2.0;
    };
    const Observed charts = WaitForPicture(window_, [&](const ClientShot& shot) {
      return shot.Width() == client.right && shot.Height() == client.bottom &&
             fits(ChartSpan(shot, upperRow), 342 * scale, shot.Width()) &&
             fits(ChartSpan(shot, lowerRow), 240 * scale, shot.Width());
    });
    EXPECT_TRUE(charts.met) << "in a picture " << charts.shot.Width() << " x "
                            << charts.shot.Height() << " (client " << client.right << " x "
                            << client.bottom << "), the upper chart spans columns "
                            << ChartSpan(charts.shot, upperRow).first << " to "
                            << ChartSpan(charts.shot, upperRow).second << " of row " << upperRow
                            << ", the lower one " << ChartSpan(charts.shot, lowerRow).first
                            << " to " << ChartSpan(charts.shot, lowerRow).second << " of row "
                            << lowerRow << "; "
                            << SavedForDiagnosis(charts.shot, "charts-" + std::to_string(dpi));

    // A hover at the new scale pulls a slice out; leaving the ellipse puts it back.
    EXPECT_TRUE(PointerMovedTo(kAboveRight, 0.6f, true, "hover-" + std::to_string(dpi)));
    AtRest("the hover at " + std::to_string(dpi) + " DPI");
    EXPECT_TRUE(PointerMovedTo(kAboveRight, 1.5f, false, "left-" + std::to_string(dpi)));
  }

  // Many more changes, and the program still closes cleanly.
  ASSERT_EQ("", ThirtyMoreChangesOfDpi(program_->Handle(), window_, startDpi));

  EXPECT_EQ(0, program_->Close());
  EXPECT_EQ("alive 0", program_->LeakReport());
}

// The same thirty-four changes of DPI leave the program's GDI objects as they were, where the
// system counts them; Wine does not, and the test says so.
TEST_F(RunningProgram, ChangesOfDpiLeaveItsGdiObjectCountAsItWas) {
  const DWORD gdiAtStart = win32::GdiObjectCount(program_->Handle());
  if (gdiAtStart == 0) GTEST_SKIP() << win32::kNoGdiCount;
  const int startDpi = win32::ScreenDpi();
  for (const int dpi : {144, startDpi == 96 ? 120 : 96, 192, startDpi}) {
    const RECT suggested = apptest::SuggestedWindowRect(window_, dpi);
    ASSERT_EQ("", SendDpiChanged(program_->Handle(), window_, dpi, suggested));
  }
  ASSERT_EQ("", ThirtyMoreChangesOfDpi(program_->Handle(), window_, startDpi));
  WaitForInputIdle(program_->Handle(), 5000);  // the frames that the changes asked for
  const DWORD gdiAtEnd = win32::GdiObjectCount(program_->Handle());
  std::printf("GDI objects of the program: %lu at start, %lu after 34 changes of DPI\n", gdiAtStart,
              gdiAtEnd);
  EXPECT_EQ(gdiAtStart, gdiAtEnd);
  EXPECT_EQ(0, program_->Close());
}
