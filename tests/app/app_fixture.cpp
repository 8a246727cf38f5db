#include "tests/app/app_fixture.h"

#include <cmath>

#include "chart/slice_layout.h"
#include "palette/irenderable.h"

namespace apptest {

float FakeTime = 0.0f;
float FakeClock() { return FakeTime; }

double ScriptedRandom::NextUnit() {
  if (units_.empty()) return 0.0;
  const double unit = units_.front();
  units_.pop_front();
  return unit;
}

void ScriptedRandom::QueueInteger(int value, int first, int last) {
  units_.push_back((value - first + 0.5) / (last - first + 1));
}

void ScriptedRandom::QueueChart(const std::vector<int>& values, int palette) {
  QueueInteger(static_cast<int>(values.size()), 2, 20);
  for (int value : values) QueueInteger(value, 10, 150);
  QueueInteger(palette, 0, 4);
}

AppPlatform ScriptedPlatform(RandomSource& random) {
  AppPlatform platform = DefaultPlatform(random);
  platform.clock = FakeClock;
  return platform;
}

HWND StartAndShow(const AppPlatform& platform) {
  if (!StartApp(platform)) return nullptr;
  const HWND window = App().MainWindow->GetWindowHandle();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  PumpMessages();
  return window;
}

void CloseAndRelease(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
  PumpMessages();
  ReleaseAppObjects();
}

void AppTest::SetUp() {
  liveBefore_ = orb::LiveObjectCount();
  FakeTime = 1000.0f;
  // The real pointer would hover over the window once it shows; keep it out of the way.
  SetCursorPos(0, 0);
  // Start-up regeneration: upper chart four equal slices in "Fire", lower three in "Berry".
  random_.QueueChart({40, 40, 40, 40}, 4);
  random_.QueueChart({30, 30, 30}, 0);
  AppPlatform platform = ScriptedPlatform(random_);
  if (automationHost_ != nullptr) platform.automationHost = automationHost_;
  if (highContrast_ != nullptr) platform.highContrast = highContrast_;
  window_ = StartAndShow(platform);
  ASSERT_TRUE(window_) << "the application did not start";
  // The window may have seen the real pointer on its way out of the window's place: what that
  // moved out goes back, as when the pointer leaves.
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
}

void AppTest::TearDown() {
  CloseAndRelease(window_);
  EXPECT_EQ(liveBefore_, orb::LiveObjectCount()) << "an object of the program was not released";
}

void AppTest::Regen(const std::vector<int>& upper, int upperPalette, const std::vector<int>& lower,
                    int lowerPalette, WORD notification) {
  random_.QueueChart(upper, upperPalette);
  random_.QueueChart(lower, lowerPalette);
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IdRegen, notification), 0);
}

D2D1_POINT_2F AppTest::PointAt(IPieChart* chart, float degrees, float fraction) {
  const float radians = degrees * kDegreesToRadians;
  return {chart->GetCenterX() + fraction * chart->GetRadiusX() * std::sin(radians),
          chart->GetCenterY() + fraction * chart->GetRadiusY() * std::cos(radians)};
}

LPARAM AppTest::PointOnChart(IPieChart* chart, float degrees, float fraction) const {
  const D2D1_POINT_2F point = PointAt(chart, degrees, fraction);
  const float scale = PixelsPerDip();
  return MAKELPARAM(static_cast<WORD>(std::lround(point.x * scale)),
                    static_cast<WORD>(std::lround(point.y * scale)));
}

void AppTest::MoveMouse(LPARAM point) const {
  POINT screen{static_cast<SHORT>(LOWORD(point)), static_cast<SHORT>(HIWORD(point))};
  ClientToScreen(window_, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(window_, WM_MOUSEMOVE, 0, point);
}

INT32 AppTest::HoverOver(IPieChart* chart, float degrees, float fraction) const {
  MoveMouse(PointOnChart(chart, degrees, fraction));
  return chart->GetSelectedSlice();
}

INT32 AppTest::HitAt(IPieChart* chart, float degrees, float fraction) {
  orb::ComPtr<IRenderable> renderable;
  EXPECT_EQ(S_OK, chart->QueryInterface(IID_PPV_ARGS(&renderable))) << "no IRenderable";
  if (!renderable) return -2;
  const D2D1_POINT_2F point = PointAt(chart, degrees, fraction);
  return renderable->HitTest(point.x, point.y, App().D2DHelper->MakeIdentityMatrix());
}

IPalette* AppTest::PaletteOf(IPieChart* chart) const {
  orb::ComPtr<IPalette> palette;
  chart->GetPalette(&palette);
  return palette.Get();  // the palette table keeps it alive
}

}  // namespace apptest
