// Long runs of real messages against the real application window: the soak (regenerations,
// pointer moves, resizes, gray toggles and lost devices) and random bad input. The test command
// runs shortened forms; D2PIE_SOAK=full runs the full ones (several minutes under Wine).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_main.h"
#include "app/app_state.h"
#include "app/render_pass.h"
#include "helpers/soak_driver.h"
#include "helpers/win32.h"
#include "tests/app/allocation_counter.h"
#include "tests/app/app_fixture.h"
#include "tests/app/screen_capture.h"

namespace {

constexpr std::uint32_t kSoakSeed = 20261209;
constexpr std::uint32_t kBadInputSeed = 7031;
constexpr double kMiB = 1024.0 * 1024.0;
// The program's strings and lists may end a run with more capacity than they began with.
constexpr long long kProgramBytesKeptAtMost = 4096;

bool FullForm() {
  const char* value = std::getenv("D2PIE_SOAK");
  return value != nullptr && std::string(value) == "full";
}

soak::SoakPlan Plan() {
  return FullForm() ? soak::SoakPlan{kSoakSeed} : soak::ShortSoakPlan(kSoakSeed);
}

using win32::PumpMessages;
using win32::StandInLiveObjects;

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    liveBefore_ = orb::LiveObjectCount();
    standInBefore_ = StandInLiveObjects();
    window_ = apptest::StartAndShow(DefaultPlatform(random_));
    ASSERT_TRUE(window_) << "the application did not start";
  }

  void TearDown() override {
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
    apptest::CloseAndRelease(window_);
    EXPECT_EQ(liveBefore_, orb::LiveObjectCount()) << "an object of the program was not released";
    if (standInBefore_ >= 0) {
      EXPECT_EQ(standInBefore_, StandInLiveObjects()) << "a Direct2D object was not released";
    }
  }

  // The process's counters once a render target made afresh drew a frame, no device lost.
  soak::ProcessCounters CountersWithAFreshTarget() const {
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
    DiscardAllDeviceResources();
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    return soak::ReadProcessCounters(GetCurrentProcess());
  }

  // The program's own loop must still run and end with 0 when the window is closed.
  void CloseThroughTheMessageLoop() {
    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        << "the window does not answer";
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, App().MainWindow->RunMessageLoop(SW_SHOWNOACTIVATE));
    EXPECT_FALSE(IsWindow(window_));
  }

  SeededRandomSource random_{kSoakSeed};
  HWND window_ = nullptr;
  LONG liveBefore_ = 0;
  LONG standInBefore_ = -1;
};

// Passes when the monitor has reported a violation that names what.
::testing::AssertionResult Reports(const soak::Monitor& monitor, const std::string& what) {
  const std::string& violation = monitor.Result().violation;
  if (violation.find(what) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "no violation of \"" << what << "\" reported, but \"" << violation << "\"";
}

// The checks themselves: each broken invariant is reported, not passed over.
TEST_F(Soak, TheMonitorReportsAStrayTimerTwoSelectionsAndAStalledAnimation) {
  IPieChart* upper = App().UpperChart.Get();
  IPieChart* lower = App().LowerChart.Get();
  {
    soak::Monitor monitor(window_);
    // The screen's pointer may have selected a slice when the window appeared: away from both.
    SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    ASSERT_FALSE(soak::AnimationInProgress());
    EXPECT_EQ("", monitor.Result().violation);
    SetTimer(window_, ExplodeTimerId, 10000, nullptr);
    SendMessageW(window_, WM_NULL, 0, 0);
    EXPECT_TRUE(Reports(monitor, "explode timer"));
  }
  {
    soak::Monitor monitor(window_);
    for (IPieChart* chart : {upper, lower}) {
      chart->SelectSlice(0);
      chart->SetExplodeOffset(MaxExplodeOffset);
    }
    SendMessageW(window_, WM_NULL, 0, 0);
    EXPECT_TRUE(Reports(monitor, "both charts"));
  }
  {
    soak::Monitor monitor(window_);
    lower->SelectSlice(-1);
    upper->SelectSlice(0);  // offset 0 and no timer to move it on
    EXPECT_TRUE(soak::AnimationInProgress());
    EXPECT_FALSE(monitor.Settle(200));
    upper->SelectSlice(-1);
  }
}

TEST_F(Soak, RegensMovesResizesGrayAndLostDevicesLeaveTheProgramSound) {
  const soak::SoakPlan plan = Plan();
  const soak::ProcessCounters start = soak::ReadProcessCounters(GetCurrentProcess());
  const double startHeapFree = soak::FreeHeapBytesOfThisProcess();
  const apptest::LiveAllocations startAllocations = apptest::CountLiveAllocations();
  SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", L"every:37");

  const soak::Outcome outcome = soak::RunSoak(window_, plan);

  EXPECT_EQ("", outcome.violation) << "seed " << plan.seed;
  // Every lost device costs a frame; enough frames must have been drawn to lose several.
  EXPECT_GT(outcome.frames, 37 * 10) << "too few frames to lose the device repeatedly";
  EXPECT_GT(outcome.ticks, 0) << "no animation ran";

  const soak::ProcessCounters soaked = soak::ReadProcessCounters(GetCurrentProcess());
  // The stand-in's frame buffers keep their capacity across shrinks of less than half, so the
  // size the soak ended on does not say what they hold; memory is compared with a render target
  // made afresh at the start size, as the one measured at start-up was.
  const soak::ProcessCounters end = CountersWithAFreshTarget();
  const double endHeapFree = soak::FreeHeapBytesOfThisProcess();
  const apptest::LiveAllocations endAllocations = apptest::CountLiveAllocations();
  std::printf(
      "soak: %ld messages, %ld frames, %ld ticks; private bytes %.2f -> %.2f MiB "
      "(%.2f MiB before the render target was made afresh), of them free in the heaps "
      "%.2f -> %.2f MiB; the program's blocks %lld -> %lld, %lld -> %lld bytes; "
      "GDI %ld -> %ld, USER %ld -> %ld\n",
      outcome.messages, outcome.frames, outcome.ticks, start.privateBytes / kMiB,
      end.privateBytes / kMiB, soaked.privateBytes / kMiB, startHeapFree / kMiB, endHeapFree / kMiB,
      startAllocations.blocks, endAllocations.blocks, startAllocations.bytes, endAllocations.bytes,
      start.gdiObjects, end.gdiObjects, start.userObjects, end.userObjects);
  // Every block the program took is given back, and what it keeps has not grown with the run.
  EXPECT_EQ(startAllocations.blocks, endAllocations.blocks) << "the program kept blocks it took";
  EXPECT_LE(endAllocations.bytes - startAllocations.bytes, kProgramBytesKeptAtMost);
  ASSERT_GT(start.privateBytes, 0.0) << "no figure for the process's private bytes";
  ASSERT_GE(startHeapFree, 0.0) << "a heap of this process could not be walked";
  ASSERT_GE(endHeapFree, 0.0) << "a heap of this process could not be walked";
  // Private bytes less the heaps' free space: what the heaps keep after a peak varies from run
  // to run by up to about a frame, while the memory in use does not.
  EXPECT_LE((end.privateBytes - endHeapFree) - (start.privateBytes - startHeapFree), kMiB);

  CloseThroughTheMessageLoop();
}

// The same soak leaves the counts of GDI and USER objects as they were, where the system keeps
// them; Wine does not, and the test says so.
TEST_F(Soak, RegensMovesResizesGrayAndLostDevicesLeaveTheGdiAndUserObjectCounts) {
  const soak::ProcessCounters start = soak::ReadProcessCounters(GetCurrentProcess());
  if (start.gdiObjects <= 0 || start.userObjects <= 0) {
    GTEST_SKIP() << "GDI " << start.gdiObjects << ", USER " << start.userObjects
                 << " objects: the system does not count them (Wine answers 0), so the counts "
                    "cannot be compared";
  }
  SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", L"every:37");
  EXPECT_EQ("", soak::RunSoak(window_, Plan()).violation);
  // As in the soak above: compared with a render target made afresh at the start size.
  const soak::ProcessCounters end = CountersWithAFreshTarget();
  EXPECT_EQ(start.gdiObjects, end.gdiObjects);
  EXPECT_EQ(start.userObjects, end.userObjects);
}

TEST_F(Soak, RandomBadInputLeavesTheWindowSoundAndDrawingAsANewOneWould) {
  soak::BadInputPlan plan;
  plan.seed = kBadInputSeed;
  plan.messages = FullForm() ? 100000 : 10000;

  const soak::Outcome outcome = soak::RunBadInput(window_, plan);
  EXPECT_EQ("", outcome.violation) << "seed " << plan.seed;
  EXPECT_GT(outcome.frames, plan.messages / 10) << "seed " << plan.seed;

  // Back to the start size, with the program told so by the window itself.
  const float scale = App().MainWindow->GetDpi() / 96.0f;
  RECT frame{0, 0, static_cast<LONG>(512 * scale), static_cast<LONG>(540 * scale)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE, 0);
  // At the screen's corner, so that every pixel read back is on the screen.
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER);
  const RECT client = win32::ClientBounds(window_);
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  // The pointer leaves both charts, so that no slice is out in the picture.
  SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  PumpMessages();
  const apptest::ClientShot after(window_);

  // The same picture from a render target and brushes made afresh.
  DiscardAllDeviceResources();
  const apptest::ClientShot fresh = apptest::Repainted(window_);
  ASSERT_GT(after.Width(), 0);
  EXPECT_TRUE(apptest::SamePictures(after, "after-bad-input", fresh, "fresh"));

  // Both charts are drawn where they belong, centred, with the background beside them.
  EXPECT_EQ("", apptest::ChartsMissing(after, scale)) << apptest::SavedForDiagnosis(after, "after");

  CloseThroughTheMessageLoop();
}

}  // namespace
