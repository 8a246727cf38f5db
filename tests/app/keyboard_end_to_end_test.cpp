// The keyboard, the tooltip and the pointer leaving, with real input (SendInput) into the running
// program from this process: the Tab order, the focus rectangle's pixels, every key of the
// charts, the tooltip's text against the slices' names as UI Automation reads them, the keyboard
// focus as Wine's UI Automation client reads it, and the pointer leaving the window.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "helpers/win32.h"
#include "tests/app/focus_lines.h"
#include "tests/app/running_program.h"
#include "tests/app/uia_client.h"

namespace apptest {
namespace {

// Presses key, with Shift held or not, as the keyboard does.
void PressKey(WORD key, bool shift = false) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class KeyboardProgram : public RunningProgram {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ToForeground()) << "the program's window did not come to the foreground";
  }

  // Keys go to the foreground window; Wine may leave none there after a client's reading.
  bool ToForeground() const {
    SetForegroundWindow(window_);
    return WaitUntil([&] { return GetForegroundWindow() == window_; });
  }

  D2D1_RECT_F ChartRectangle(int chart) const {
    const float middle = ClientWidthInDips() / 2;
    return chart == 0 ? D2D1_RECT_F{middle - 200, 10, middle + 200, 210}
                      : D2D1_RECT_F{middle - 150, 220, middle + 150, 520};
  }

  // Where the program's keyboard focus is: "Regen", "Gray", "upper chart" or "lower chart" (by
  // the focus rectangle that the picture shows around it), "window", or "elsewhere".
  std::string FocusIn(const ClientShot& shot) const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    if (info.hwndFocus == GetDlgItem(window_, IdRegen)) return "Regen";
    if (info.hwndFocus == GetDlgItem(window_, IdGray)) return "Gray";
    if (info.hwndFocus != window_) return "elsewhere";
    const bool upper =
        FocusRectangleProblems(FocusLinesAround(shot, scale_, ChartRectangle(0))).empty();
    const bool lower =
        FocusRectangleProblems(FocusLinesAround(shot, scale_, ChartRectangle(1))).empty();
    return upper && !lower ? "upper chart" : lower && !upper ? "lower chart" : "window";
  }

  // Presses key and waits until the focus is on expected; the failure names where it is.
  ::testing::AssertionResult FocusAfter(WORD key, bool shift, const std::string& expected) const {
    PressKey(key, shift);
    const Observed seen =
        WaitForPicture(window_, [&](const ClientShot& shot) { return FocusIn(shot) == expected; });
    if (seen.met) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << (shift ? "Shift+" : "") << "key " << key << " left the focus on "
           << FocusIn(seen.shot) << ", not on " << expected << "; "
           << SavedForDiagnosis(seen.shot, "focus-" + expected);
  }

  // What the tooltip shows, "" while it is hidden.
  std::string TooltipText() const {
    const HWND tooltip = ShownTooltip();
    if (tooltip == nullptr) return "";
    wchar_t text[128] = {};
    SendMessageW(tooltip, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return win32::Narrow(text);
  }

  // Presses key and waits until the tooltip shows expected ("" for hidden) and, for "", no slice
  // is drawn beyond the upper rim.
  ::testing::AssertionResult TooltipAfter(WORD key, const std::string& expected) const {
    PressKey(key);
    std::string shown;
    const Observed seen = WaitForPicture(window_, [&](const ClientShot& shot) {
      shown = TooltipText();
      return shown == expected && (!expected.empty() || FindBeyondRim(shot).count == 0);
    });
    if (seen.met) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "after key " << key << " the tooltip shows \"" << shown << "\", not \"" << expected
           << "\", with " << FindBeyondRim(seen.shot) << "; "
           << SavedForDiagnosis(seen.shot, "tip");
  }

  // The tree read by another process with the keyboard focus, or the failure; the watchdog ends
  // the program if Wine's COM deadlocks (see uia_client.h).
  TreeRead ReadWithFocus(const UiaClient& client) const {
    const Watchdog watchdog(program_->Handle(), kComDeadlockDeadlineMs);
    TreeRead read = ReadTree(client, window_, true);
    if (watchdog.Fired()) read.failure = "Wine's COM stopped answering within 60 s";
    if (!ToForeground()) read.failure += "; the window did not come back to the foreground";
    return read;
  }
};

TEST_F(KeyboardProgram, TabArrowsHomeEndEscTheTooltipAndThePointerLeaving) {
  const UiaClient client;
  ASSERT_TRUE(client.Complete()) << "uiautomationcore.dll lacks a client function";
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);

  // The Tab order, forwards from the window and backwards; no chart's slice moves.
  ASSERT_TRUE(FocusAfter(VK_TAB, false, "Regen"));
  for (const char* next : {"Gray", "upper chart", "lower chart", "Regen"}) {
    EXPECT_TRUE(FocusAfter(VK_TAB, false, next));
  }
  for (const char* previous : {"lower chart", "upper chart", "Gray", "Regen", "lower chart"}) {
    EXPECT_TRUE(FocusAfter(VK_TAB, true, previous));
  }
  ASSERT_TRUE(FocusAfter(VK_TAB, true, "upper chart"));
  EXPECT_EQ(0, FindBeyondRim(ClientShot(window_)).count) << "focusing a chart moved a slice";
  EXPECT_EQ("", TooltipText());

  // The tree's names, and the focus on the upper chart as UI Automation's client reads it.
  const TreeRead names = ReadWithFocus(client);
  ASSERT_EQ("", names.failure) << Describe(names);
  EXPECT_EQ("chart", names.charts[0].focus) << Describe(names);
  EXPECT_EQ("", names.charts[1].focus) << Describe(names);
  const std::vector<std::wstring>& slices = names.charts[0].slices;
  const int count = static_cast<int>(slices.size());
  const auto name = [&](int slice) { return win32::Narrow(slices[static_cast<size_t>(slice)]); };

  // Every key, and the slice it moves out as the tooltip names it.
  const std::pair<WORD, int> keys[] = {{VK_RIGHT, 0}, {VK_DOWN, 1 % count}, {VK_END, count - 1},
                                       {VK_RIGHT, 0}, {VK_LEFT, count - 1}, {VK_UP, count - 2},
                                       {VK_HOME, 0}};
  for (const auto& [key, slice] : keys) EXPECT_TRUE(TooltipAfter(key, name(slice)));
  const TreeRead focused = ReadWithFocus(client);
  EXPECT_EQ("Slice0", focused.charts.empty() ? "" : focused.charts[0].focus) << Describe(focused);
  ASSERT_TRUE(TooltipAfter(VK_ESCAPE, ""));
  EXPECT_EQ("upper chart", FocusIn(ClientShot(window_))) << "Esc moved the focus";

  // The pointer's slice goes back when the pointer leaves the window; its tooltip goes too.
  ASSERT_TRUE(PointerMovedTo(kAboveRight, 0.6f, true, "pointer-in"));
  EXPECT_TRUE(WaitUntil([&] { return !TooltipText().empty(); })) << "no tooltip for the pointer";
  MovePointer(POINT{-20, -20});
  const Observed left = WaitForPicture(window_, [&](const ClientShot& shot) {
    return FindBeyondRim(shot).count == 0 && TooltipText().empty();
  });
  EXPECT_TRUE(left.met) << FindBeyondRim(left.shot) << ", tooltip \"" << TooltipText()
                        << "\" after the pointer left the window; "
                        << SavedForDiagnosis(left.shot, "pointer-left");

  // The keyboard's slice stays out when the pointer comes in and leaves.
  ASSERT_TRUE(TooltipAfter(VK_RIGHT, name(0)));
  MovePointer(Pixels(5, 530));
  MovePointer(POINT{-20, -20});
  EXPECT_FALSE(WaitUntil([&] { return TooltipText().empty(); }, 1500))
      << "the keyboard's slice went back when the pointer left";

  EXPECT_EQ(0, program_->Close());
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace
}  // namespace apptest
