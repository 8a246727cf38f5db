// Starts the built program as its own process and uses it as a person would: through its window,
// its controls and what it shows on the screen.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/app/program_process.h"
#include "tests/app/screen_capture.h"

namespace {

using apptest::Background;
using apptest::ClientShot;

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    leakReport_ = std::wstring(temp) + L"d2pie-leaks-" + std::to_wstring(GetCurrentProcessId()) +
                  L".txt";
    DeleteFileW(leakReport_.c_str());
    SetEnvironmentVariableW(L"D2PIE_D2D1_LEAK_REPORT", leakReport_.c_str());
    SetCursorPos(0, 0);  // away from the window, which would otherwise select a slice
    std::wstring command = L"\"" + apptest::ProgramFolder() + L"d2pie.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process_));
    SetEnvironmentVariableW(L"D2PIE_D2D1_LEAK_REPORT", nullptr);
    WaitForInputIdle(process_.hProcess, 10000);
    for (int i = 0; i < 200 && !window_; ++i) {
      window_ = apptest::FindProgramWindow(process_.dwProcessId);
      if (!window_) Sleep(50);
    }
    ASSERT_TRUE(window_) << "the program's window did not appear";
    scale_ = static_cast<float>(GetDpiOfScreen()) / 96.0f;
    ASSERT_TRUE(WaitForPicture([](const ClientShot& shot) {
      return shot.At(shot.Width() - 3, shot.Height() - 3) == Background;
    })) << "the first frame was not drawn";
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    DeleteFileW(leakReport_.c_str());
  }

  static int GetDpiOfScreen() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  template <typename Condition>
  bool WaitForPicture(Condition condition) const {
    for (int i = 0; i < 100; ++i) {
      if (condition(ClientShot(window_))) return true;
      Sleep(50);
    }
    return false;
  }

  // Waits until the picture has stopped changing (animations and repaints done).
  ClientShot SettledShot() const {
    ClientShot last(window_);
    for (int i = 0; i < 40; ++i) {
      Sleep(120);
      ClientShot next(window_);
      if (next == last) return next;
      last = next;
    }
    return last;
  }

  std::wstring Caption() const {
    wchar_t caption[128] = {};
    GetWindowTextW(window_, caption, 128);
    return caption;
  }

  // Client pixel of a point given in device-independent units.
  POINT Pixels(float x, float y) const {
    return POINT{static_cast<LONG>(std::lround(x * scale_)),
                 static_cast<LONG>(std::lround(y * scale_))};
  }

  float ClientWidthInDips() const {
    RECT client{};
    GetClientRect(window_, &client);
    return static_cast<float>(client.right) / scale_;
  }

  // Point at angle degrees and fraction of the radii of the upper (400 x 200 at top 10) or lower
  // (300 x 300 at top 220) chart, which are centred horizontally.
  POINT OnUpperChart(float degrees, float fraction) const {
    const float radians = degrees * 0.01745329f;
    return Pixels(ClientWidthInDips() / 2 + fraction * 170 * std::sin(radians),
                  110 + fraction * 70 * std::cos(radians));
  }

  int Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 10000));
    DWORD code = 12345;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
  }

  std::string LeakReport() const { return apptest::FirstLineOf(leakReport_); }

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  float scale_ = 1.0f;
  std::wstring leakReport_;
};

TEST_F(RunningProgram, ShowsItsWindowControlsAndChartsAndClosesWithZero) {
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_EQ(std::lround(512 * scale_), client.right);
  EXPECT_EQ(std::lround(540 * scale_), client.bottom);

  const std::wstring caption = Caption();
  const wchar_t* names[] = {L"Berry", L"Bright", L"Bright Pastel", L"Earth", L"Fire"};
  bool captionMatches = false;
  for (const wchar_t* upper : names) {
    for (const wchar_t* lower : names) {
      captionMatches |= caption == std::wstring(L"D2 Pie: ") + upper + L", " + lower;
    }
  }
  EXPECT_TRUE(captionMatches) << std::string(caption.begin(), caption.end());

  const HWND regen = GetDlgItem(window_, 101);
  const HWND gray = GetDlgItem(window_, 102);
  ASSERT_TRUE(regen && gray);
  wchar_t text[32];
  GetWindowTextW(regen, text, 32);
  EXPECT_STREQ(L"Regen", text);
  GetWindowTextW(gray, text, 32);
  EXPECT_STREQ(L"Gray", text);
  EXPECT_EQ(0x50010F00u, static_cast<DWORD>(GetWindowLongW(regen, GWL_STYLE)) & 0xFFFFFFFFu);
  EXPECT_EQ(0x50010D03u, static_cast<DWORD>(GetWindowLongW(gray, GWL_STYLE)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(gray, BM_GETCHECK, 0, 0));

  const ClientShot shot = SettledShot();
  // Background beside the charts; slices at both charts' centres.
  EXPECT_EQ(Background, shot.At(shot.Width() - 3, shot.Height() / 2));
  const POINT upperCentre = Pixels(ClientWidthInDips() / 2, 110);
  const POINT lowerCentre = Pixels(ClientWidthInDips() / 2, 370);
  EXPECT_NE(Background, shot.At(upperCentre.x + 3, upperCentre.y + 3));
  EXPECT_NE(Background, shot.At(lowerCentre.x + 3, lowerCentre.y + 3));
  // The upper chart starts in gray with nothing selected.
  for (float degrees = 5; degrees < 360; degrees += 10) {
    const POINT p = OnUpperChart(degrees, 0.6f);
    EXPECT_TRUE(shot.At(p.x, p.y).IsGray()) << "at " << degrees << " degrees";
  }

  EXPECT_EQ(0, Close());
  EXPECT_EQ("alive 0", LeakReport());
}

TEST_F(RunningProgram, HoverRegenGrayAndResizeChangeThePicture) {
  const ClientShot before = SettledShot();
  // Just beyond the rim along 45 degrees, where the pulled-out slice will be drawn.
  const POINT beyond = OnUpperChart(45, 1.04f);
  EXPECT_EQ(Background, before.At(beyond.x, beyond.y));

  const POINT onSlice = OnUpperChart(45, 0.6f);
  // The slice under the pointer moves out, and keeps its colour while the rest is gray.
  PostMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(onSlice.x, onSlice.y));
  const ClientShot hovered = SettledShot();
  EXPECT_NE(Background, hovered.At(beyond.x, beyond.y));

  // "Gray" off: some slice of the upper chart shows colour.
  SendMessageW(GetDlgItem(window_, 102), BM_CLICK, 0, 0);
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(GetDlgItem(window_, 102), BM_GETCHECK, 0, 0));
  const ClientShot coloured = SettledShot();
  bool anyColour = false;
  for (float degrees = 5; degrees < 360; degrees += 5) {
    const POINT p = OnUpperChart(degrees, 0.5f);
    anyColour |= !coloured.At(p.x, p.y).IsGray();
  }
  EXPECT_TRUE(anyColour);

  // "Regen": a new picture (and usually a new caption).
  SendMessageW(GetDlgItem(window_, 101), BM_CLICK, 0, 0);
  EXPECT_FALSE(SettledShot() == coloured);

  // Wider: both charts stay centred.
  RECT frame{};
  GetWindowRect(window_, &frame);
  const int extra = static_cast<int>(std::lround(300 * scale_));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + extra, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  const ClientShot wide = SettledShot();
  // Along the lower chart's centre row, the first and last chart pixels are symmetric.
  const int row = Pixels(0, 370).y;
  int first = -1;
  int last = -1;
  for (int x = 0; x < wide.Width(); ++x) {
    if (wide.At(x, row) != Background) {
      if (first < 0) first = x;
      last = x;
    }
  }
  ASSERT_GE(first, 0);
  EXPECT_NEAR(wide.Width() / 2.0, (first + last) / 2.0, 2.0 * scale_);

  EXPECT_EQ(0, Close());
  EXPECT_EQ("alive 0", LeakReport());
}

}  // namespace
