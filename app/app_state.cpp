#include "app/app_state.h"

#include "app/high_contrast.h"
#include "d2d/d2d1_helper.h"
#include "uia/automation_host.h"
#include "window/cwindow.h"

AppPlatform DefaultPlatform(RandomSource& random) {
  AppPlatform platform;
  platform.newWindow = NewWindow;
  platform.createFactory = CreateFactory;
  platform.newHelper = NewD2D1Helper;
  platform.clock = LocalTimeOfDay;
  platform.random = &random;
  platform.automationHost = &SystemAutomationHost();
  platform.highContrast = ReadHighContrast;
  return platform;
}

AppState& App() {
  static AppState state;
  return state;
}

IPieChart* ChartAt(int index) {
  AppState& app = App();
  if (index == 0) return app.UpperChart.Get();
  return index == 1 ? app.LowerChart.Get() : nullptr;
}

int IndexOfChart(const IPieChart* chart) {
  if (chart == nullptr) return -1;
  if (chart == ChartAt(0)) return 0;
  return chart == ChartAt(1) ? 1 : -1;
}

int FocusedChart() {
  AppState& app = App();
  if (app.FocusChart < 0 || !app.MainWindow) return -1;
  return GetFocus() == app.MainWindow->GetWindowHandle() ? app.FocusChart : -1;
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
  app.SelectedBy = {SelectionCause::Pointer, SelectionCause::Pointer};
  app.FocusChart = -1;
  app.FocusToRestore = nullptr;
  app.FocusCuesHidden = false;
  app.FocusBorderWidth = app.FocusBorderHeight = 1;
  app.Colours = ChartColours{};
  app.FocusOuterBrush.Reset();
  app.FocusInnerBrush.Reset();
  app.PointerTracked = false;
  app.LastPointerMove = -1;
  app.Tooltip = AppState::SliceTooltip{};
}
