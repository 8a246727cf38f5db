// The built program as a process of its own, soaked through messages posted to its window while
// the Direct2D stand-in loses its device every 37th frame: it must keep answering, close with
// exit code 0 and leave no Direct2D object alive. D2PIE_SOAK=full runs ten times as many.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include <windows.h>

#include "app/app_state.h"
#include "helpers/soak_driver.h"
#include "tests/app/program_process.h"

namespace {

constexpr std::uint32_t kSeed = 9121;
constexpr double kMiB = 1024.0 * 1024.0;

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
}

TEST(SoakedProcess, KeepsAnsweringThroughLostDevicesAndClosesCleanly) {
  const char* form = std::getenv("D2PIE_SOAK");
  const int operations = form != nullptr && std::string(form) == "full" ? 30000 : 3000;

  apptest::ProgramProcess program(
      apptest::ProgramProcess::Environment{{L"D2PIE_D2D1_DEVICE_LOSS", L"every:37"}});
  const HWND window = program.Window();
  ASSERT_NE(nullptr, window) << program.Failure();
  ASSERT_TRUE(Answers(window));
  const soak::ProcessCounters start = soak::ReadProcessCounters(program.Handle());

  std::mt19937 random(kSeed);
  const HWND gray = GetDlgItem(window, IdGray);
  for (int i = 0; i < operations; ++i) {
    const unsigned what = random() % 100;
    if (what < 33) {
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IdRegen, BN_CLICKED), 0);
    } else if (what < 98) {
      PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(random() % 560, random() % 600));
    } else if (what < 99) {
      const bool checked = SendMessageW(gray, BM_GETCHECK, 0, 0) == BST_CHECKED;
      SendMessageW(gray, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IdGray, BN_CLICKED), 0);
    } else {
      switch (random() % 3) {
        case 0:
          ShowWindow(window, SW_MINIMIZE);
          break;
        case 1:
          ShowWindow(window, SW_RESTORE);
          break;
        default:
          SetWindowPos(window, nullptr, 0, 0, static_cast<int>(200 + random() % 900),
                       static_cast<int>(200 + random() % 700),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
          break;
      }
    }
    // A frame drawn now and then, so that the device is lost every so often, and a round trip
    // that proves that the program still answers.
    if (i % 10 == 9) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (i % 100 == 99) {
      ASSERT_TRUE(Answers(window)) << "no answer after " << i << " operations";
    }
  }
  ShowWindow(window, SW_RESTORE);
  ASSERT_TRUE(Answers(window));
  const soak::ProcessCounters end = soak::ReadProcessCounters(program.Handle());
  // What Wine tells about another process is printed, not judged: the in-process soak compares.
  std::printf(
      "soaked process: %d operations; private bytes %.2f -> %.2f MiB, GDI %ld -> %ld, "
      "USER %ld -> %ld\n",
      operations, start.privateBytes / kMiB, end.privateBytes / kMiB, start.gdiObjects,
      end.gdiObjects, start.userObjects, end.userObjects);

  EXPECT_EQ(0, program.Close());
  EXPECT_EQ("alive 0", program.LeakReport());
}

}  // namespace
