#include "app/render_pass.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "helpers/win32.h"
#include "tests/app/app_fixture.h"
#include "tests/app/renderable_spies.h"
#include "tests/app/screen_capture.h"
#include "tests/support/records.h"

namespace apptest {
namespace {

using win32::StandInLiveObjects;

constexpr const char* kOnlyOnTheStandIn = "a device loss can only be simulated on the stand-in";

const CallLog kCreation = {"Berry create", "Bright create", "Bright Pastel create", "Earth create",
                           "Fire create",  "upper create",  "lower create"};
const CallLog kDrawing = {"upper draw", "lower draw"};
const CallLog kDiscard = {"upper discard",  "lower discard",         "Berry discard",
                          "Bright discard", "Bright Pastel discard", "Earth discard",
                          "Fire discard"};

CallLog Join(std::initializer_list<CallLog> parts) {
  CallLog all;
  for (const CallLog& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class RenderPassTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    // Every drawing object is replaced by a spy around it; the render target goes too.
    AppState& app = App();
    const char* names[] = {"Berry", "Bright", "Bright Pastel", "Earth", "Fire"};
    for (int i = 0; i < 5; ++i) {
      app.PaletteTable[i] =
          orb::MakeComObject<SpyPalette>(app.PaletteTable[i].Get(), names[i], &log_);
    }
    app.UpperChart = orb::MakeComObject<SpyChart>(app.UpperChart.Get(), "upper", &log_);
    app.LowerChart = orb::MakeComObject<SpyChart>(app.LowerChart.Get(), "lower", &log_);
    DiscardAllDeviceResources();
    log_.clear();
  }

  void TearDown() override {
    LoseEveryFrame(false);
    AppTest::TearDown();
  }

  // Has the stand-in lose its device at every frame from now, or no more.
  static void LoseEveryFrame(bool lose) {
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", lose ? L"every:1" : nullptr);
  }

  // The calls of one render pass, which must succeed.
  CallLog RenderPassCalls() {
    log_.clear();
    EXPECT_EQ(S_OK, RenderCharts(window_));
    return log_;
  }

  CallLog log_;
};

TEST_F(RenderPassTest, TheFirstPaintMakesTheTargetAtClientSizeAndHandsItOutInOrder) {
  EXPECT_FALSE(App().WindowRenderTarget);
  EXPECT_EQ(Join({kCreation, kDrawing}), RenderPassCalls());
  ASSERT_TRUE(App().WindowRenderTarget);
  const RECT client = win32::ClientBounds(window_);
  EXPECT_EQ((D2D1_SIZE_U{static_cast<UINT32>(client.right), static_cast<UINT32>(client.bottom)}),
            App().WindowRenderTarget->GetPixelSize());
  orb::ComPtr<ID2D1SolidColorBrush> brush;
  App().PaletteTable[2]->GetBrush(0, &brush);
  EXPECT_TRUE(brush);
}

TEST_F(RenderPassTest, ALaterPaintCreatesNothing) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  const LONG aliveAfterFirst = StandInLiveObjects();
  EXPECT_EQ(kDrawing, RenderPassCalls());
  if (aliveAfterFirst >= 0) {
    EXPECT_EQ(aliveAfterFirst, StandInLiveObjects());
  }
}

TEST_F(RenderPassTest, ALostDeviceIsDroppedAndRebuiltWithTheSamePicture) {
  if (StandInLiveObjects() < 0) GTEST_SKIP() << kOnlyOnTheStandIn;
  const ClientShot before = Repainted(window_);

  LoseEveryFrame(true);
  EXPECT_EQ(Join({kDrawing, kDiscard}), RenderPassCalls());
  EXPECT_FALSE(App().WindowRenderTarget);
  orb::ComPtr<ID2D1SolidColorBrush> brush;
  App().PaletteTable[0]->GetBrush(0, &brush);
  EXPECT_FALSE(brush);

  LoseEveryFrame(false);
  log_.clear();
  const ClientShot after = Repainted(window_);
  EXPECT_EQ(Join({kCreation, kDrawing}), log_);
  EXPECT_TRUE(App().WindowRenderTarget);
  EXPECT_TRUE(SamePictures(before, "before", after, "after-the-lost-device"));
}

TEST_F(RenderPassTest, ALostFrameAsksForOneRepaintThatDrawsItAgain) {
  if (StandInLiveObjects() < 0) GTEST_SKIP() << kOnlyOnTheStandIn;
  const ClientShot before = Repainted(window_);

  LoseEveryFrame(true);
  ForgetRepaint();
  EXPECT_EQ(S_OK, RenderCharts(window_));
  EXPECT_TRUE(RepaintRequested()) << "the lost frame asked for no repaint";
  // Lost again: no further repaint, or a device lost at every frame would paint for ever.
  for (int again = 0; again < 2; ++again) {
    ForgetRepaint();
    EXPECT_EQ(S_OK, RenderCharts(window_));
    EXPECT_FALSE(RepaintRequested()) << "lost frame " << again + 2 << " in a row asked again";
  }

  // A frame that is shown ends the run of lost ones: the next loss asks again, and nothing but
  // that request draws the frame once the device works.
  LoseEveryFrame(false);
  EXPECT_EQ(S_OK, RenderCharts(window_));
  LoseEveryFrame(true);
  ForgetRepaint();
  EXPECT_EQ(S_OK, RenderCharts(window_));
  ASSERT_TRUE(RepaintRequested());
  LoseEveryFrame(false);
  log_.clear();
  UpdateWindow(window_);
  EXPECT_EQ(Join({kCreation, kDrawing}), log_);
  EXPECT_TRUE(SamePictures(before, "before", ClientShot(window_), "drawn-again"));
}

TEST_F(RenderPassTest, ADeviceLostAtEveryFrameLeavesTheMessageLoopIdle) {
  if (StandInLiveObjects() < 0) GTEST_SKIP() << kOnlyOnTheStandIn;
  LoseEveryFrame(true);
  log_.clear();
  FILETIME created, ended, kernelBefore, userBefore, kernelAfter, userAfter;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelBefore, &userBefore);
  InvalidateRect(window_, nullptr, FALSE);
  // Two seconds of this thread's message loop, which is all that draws the window; one message
  // at a time, so that a repaint loop cannot keep the test from ending.
  const ULONGLONG end = GetTickCount64() + 2000;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_QUIT) DispatchMessageW(&message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
  }
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelAfter, &userAfter);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  const double cpuMs = static_cast<double>(ticks(kernelAfter) - ticks(kernelBefore) +
                                           ticks(userAfter) - ticks(userBefore)) /
                       10000.0;
  const auto frames = std::count(log_.begin(), log_.end(), std::string("upper draw"));
  std::printf("every frame lost: %d frames and %.0f ms of CPU time in 2 s of the message loop\n",
              static_cast<int>(frames), cpuMs);
  // The lost frame and its one repaint; a paint that the system asks for meanwhile may add one
  // more, with its own repaint. A repaint loop draws a frame whenever the thread is idle.
  EXPECT_GE(frames, 2) << "the lost frame was not drawn again";
  EXPECT_LE(frames, 4) << "painting went on while every frame was lost";
  EXPECT_FALSE(RepaintRequested());
}

TEST_F(RenderPassTest, AnOccludedWindowDrawsNothingAndKeepsItsResources) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  ShowWindow(window_, SW_MINIMIZE);
  PumpMessages();
  EXPECT_TRUE(RenderPassCalls().empty());
  EXPECT_TRUE(App().WindowRenderTarget);
  ShowWindow(window_, SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(kDrawing, RenderPassCalls());
}

TEST_F(RenderPassTest, AnImpossibleSizeLeavesTheTargetAsItWasAndDrawingGoesOn) {
  ASSERT_EQ(S_OK, RenderCharts(window_));
  const D2D1_SIZE_U before = App().WindowRenderTarget->GetPixelSize();
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(kDrawing, RenderPassCalls());
  EXPECT_EQ(before, App().WindowRenderTarget->GetPixelSize());
}

TEST_F(RenderPassTest, PaintMessagesRunTheRenderPassWithoutErasing) {
  EXPECT_EQ(0, SendMessageW(window_, WM_ERASEBKGND, 0, 0));
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  EXPECT_EQ(Join({kCreation, kDrawing}), log_);
  EXPECT_FALSE(RepaintRequested());
}

}  // namespace
}  // namespace apptest
