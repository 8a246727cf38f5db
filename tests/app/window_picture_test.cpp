// What the window shows after random runs of the program's actions is what a frame drawn from
// scratch shows. Under Wine the render target gives the window only what changed, so it must
// miss nothing, whatever mix of regeneration, hover and animation, gray, resizes, lost devices,
// lost window pixels and DPI changes came before.

#include <windows.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/render_pass.h"
#include "helpers/win32.h"
#include "tests/app/app_fixture.h"
#include "tests/app/screen_capture.h"

namespace apptest {
namespace {

class WindowPictureTest : public AppTest {
 protected:
  void TearDown() override {
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
    AppTest::TearDown();
  }

  // Lets the window handle what the last action asked for.
  void Settle() {
    PumpMessages();
    UpdateWindow(window_);
  }

  std::vector<int> RandomValues() {
    std::vector<int> values(2 + random() % 19);
    for (int& value : values) value = 10 + static_cast<int>(random() % 141);
    return values;
  }

  // One random action of the program or of the system around it; its name goes to the log.
  void Act() {
    switch (random() % 8) {
      case 0:
        log_ << " regen";
        Regen(RandomValues(), static_cast<int>(random() % 5), RandomValues(),
              static_cast<int>(random() % 5));
        break;
      case 1: {
        // Onto a slice, then some ticks of its animation.
        IPieChart* chart = random() % 2 == 0 ? Upper() : Lower();
        const int ticks = static_cast<int>(random() % 8);
        log_ << " hover+" << ticks;
        MoveMouse(PointOnChart(chart, static_cast<float>(random() % 360), 0.6f));
        Settle();
        for (int i = 0; i < ticks; ++i) {
          TickAfter(0.02f);
          Settle();
        }
        break;
      }
      case 2:
        log_ << " leave";
        MoveMouse(MAKELPARAM(1, 1));
        break;
      case 3:
        log_ << " gray";
        CheckDlgButton(
            window_, IdGray,
            IsDlgButtonChecked(window_, IdGray) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IdGray, BN_CLICKED), 0);
        break;
      case 4: {
        const int width = 200 + static_cast<int>(random() % 800);
        const int height = 200 + static_cast<int>(random() % 700);
        log_ << " resize " << width << "x" << height;
        win32::SetClientSize(window_, width, height);
        break;
      }
      case 5:
        // The frame is lost; the window keeps the last one until the next paint.
        log_ << " device-loss";
        SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", L"every:1");
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
        break;
      case 6: {
        // Another window covered part of this one and went: those pixels are gone, and the
        // system asks for them again, with an erase.
        const RECT client = win32::ClientBounds(window_);
        RECT lost{};
        lost.left = static_cast<LONG>(random() % static_cast<unsigned>(client.right));
        lost.top = static_cast<LONG>(random() % static_cast<unsigned>(client.bottom));
        lost.right = lost.left + 1 + static_cast<LONG>(random() % 300);
        lost.bottom = lost.top + 1 + static_cast<LONG>(random() % 300);
        log_ << " uncover " << lost.left << "," << lost.top;
        const HDC dc = GetDC(window_);
        const HBRUSH brush = CreateSolidBrush(RGB(random() % 256, random() % 256, 255));
        FillRect(dc, &lost, brush);
        DeleteObject(brush);
        ReleaseDC(window_, dc);
        RedrawWindow(window_, &lost, nullptr, RDW_INVALIDATE | RDW_ERASE);
        break;
      }
      default: {
        static const float kDpis[] = {72.0f, 96.0f, 120.0f, 144.0f};
        const float dpi = kDpis[random() % 4];
        log_ << " dpi " << dpi;
        if (App().WindowRenderTarget) App().WindowRenderTarget->SetDpi(dpi, dpi);
        InvalidateRect(window_, nullptr, FALSE);
        break;
      }
    }
    Settle();
  }

  // The window after one more repaint of the program's own (a lost frame leaves the last one
  // up until then), against a frame drawn whole by a render target made afresh at the same DPI.
  void ExpectTheFreshPicture() {
    InvalidateRect(window_, nullptr, FALSE);
    Settle();
    const ClientShot shown = ClientShot::OfWindowDc(window_);
    ASSERT_TRUE(App().WindowRenderTarget) << log_.str();
    FLOAT dpiX = 96.0f, dpiY = 96.0f;
    App().WindowRenderTarget->GetDpi(&dpiX, &dpiY);
    DiscardAllDeviceResources();
    ASSERT_EQ(S_OK, EnsureDeviceResources(window_)) << log_.str();
    App().WindowRenderTarget->SetDpi(dpiX, dpiY);
    ASSERT_EQ(S_OK, RenderCharts(window_)) << log_.str();
    const ClientShot fresh = ClientShot::OfWindowDc(window_);
    // Sizes too: the failure names both.
    EXPECT_TRUE(SamePictures(shown, "shown", fresh, "fresh")) << "\nactions:" << log_.str();
  }

  std::mt19937 random;
  std::ostringstream log_;
};

TEST_F(WindowPictureTest, MatchesAFrameDrawnFromScratchAfterRandomActions) {
  ASSERT_TRUE(App().WindowRenderTarget) << "the first paint made no render target";
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    random.seed(seed);
    log_.str("");
    log_ << " (seed " << seed << ")";
    const int steps = 6 + static_cast<int>(random() % 12);
    for (int step = 0; step < steps; ++step) {
      Act();
      // Long runs between comparisons too: each comparison starts the target afresh.
      if (random() % 3 == 0) {
        ExpectTheFreshPicture();
        if (HasFailure()) return;
      }
    }
    ExpectTheFreshPicture();
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace apptest
