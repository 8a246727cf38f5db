#include "app/app_state.h"

#include "d2d/d2d1_helper.h"
#include "uia/automation_events.h"
#include "window/cwindow.h"

AppPlatform DefaultPlatform(RandomSource& random) {
  AppPlatform platform;
  platform.newWindow = NewWindow;
  platform.createFactory = CreateFactory;
  platform.newHelper = NewD2D1Helper;
  platform.clock = LocalTimeOfDay;
  platform.random = &random;
  platform.automationEvents = &SystemAutomationEvents();
  return platform;
}

AppState& App() {
  static AppState state;
  return state;
}

void ReleaseAppObjects() {
  AppState& app = App();
  app.D2DHelper.Reset();
  app.D2DFactory.Reset();
  app.WindowRenderTarget.Reset();
  app.MainWindow.Reset();
  app.UpperChart.Reset();
  app.LowerChart.Reset();
  for (auto& palette : app.PaletteTable) palette.Reset();
  app.PaletteNames = {};
  app.Platform = AppPlatform{};
  app.LastFrameLost = false;
  app.Accessibility.reset();
  app.ClientAreaAnimation = true;
}
