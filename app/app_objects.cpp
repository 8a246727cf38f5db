#include "app/app_objects.h"

#include <windows.h>
#include <strsafe.h>

#include <vector>

#include "app/app_state.h"
#include "chart/pie_chart.h"
#include "palette/palettes.h"

namespace {

constexpr size_t CaptionCapacity = 80;

void DrawValues(RandomSource& random, std::vector<float>& values) {
  const int count = RandomInteger(random, 2, 20);
  values.resize(static_cast<size_t>(count));
  for (float& value : values) value = static_cast<float>(RandomInteger(random, 10, 150));
}

}  // namespace

bool CreateAppObjects() {
  AppState& app = App();
  if (app.Platform.createFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &app.D2DFactory) != S_OK) {
    return false;
  }
  if (FAILED(app.Platform.newHelper(&app.D2DHelper)) || !app.D2DHelper) return false;

  ID2DHelper* helper = app.D2DHelper.Get();
  ID2D1Factory* factory = app.D2DFactory.Get();
  NewBerryPalette(&app.PaletteTable[0], helper, factory);
  NewBrightPalette(&app.PaletteTable[1], helper, factory);
  NewBrightPastelPalette(&app.PaletteTable[2], helper, factory);
  NewEarthPalette(&app.PaletteTable[3], helper, factory);
  NewFirePalette(&app.PaletteTable[4], helper, factory);
  app.PaletteNames = {L"Berry", L"Bright", L"Bright Pastel", L"Earth", L"Fire"};

  const TimeOfDayClock clock = app.Platform.clock;
  NewPieChart(&app.UpperChart, helper, factory, app.PaletteTable[4].Get(), UpperOutline.red,
              UpperOutline.green, UpperOutline.blue, UpperOutline.width, 10.0f, 10.0f, 400.0f,
              200.0f, clock);
  NewPieChart(&app.LowerChart, helper, factory, app.PaletteTable[0].Get(), LowerOutline.red,
              LowerOutline.green, LowerOutline.blue, LowerOutline.width, 60.0f, 220.0f, 300.0f,
              300.0f, clock);
  RegenerateCharts();
  return true;
}

void RegenerateCharts() {
  AppState& app = App();
  wchar_t caption[CaptionCapacity];
  StringCchCopyW(caption, CaptionCapacity, L"D2 Pie: ");
  if (!app.UpperChart) return;

  const HWND window = app.MainWindow ? app.MainWindow->GetWindowHandle() : nullptr;
  RandomSource& random = *app.Platform.random;
  std::vector<float> values;

  DrawValues(random, values);
  const int upperPalette = RandomInteger(random, 0, 4);
  app.UpperChart->SetPalette(app.PaletteTable[upperPalette].Get());
  StringCchCatW(caption, CaptionCapacity, app.PaletteNames[upperPalette]);
  StringCchCatW(caption, CaptionCapacity, L", ");
  const bool grayChecked = IsDlgButtonChecked(window, IdGray) == BST_CHECKED;
  // A palette that could not be made is absent and skipped, like any missing resource.
  if (const auto& palette = app.PaletteTable[upperPalette]) palette->SetGray(grayChecked ? -1 : 0);
  SetChartValues(app.UpperChart.Get(), values);
  app.UpperChart->BuildGeometry();

  DrawValues(random, values);
  const int lowerPalette = RandomInteger(random, 0, 4);
  StringCchCatW(caption, CaptionCapacity, app.PaletteNames[lowerPalette]);
  // A palette shared with the upper chart keeps the gray flag the box just gave it.
  if (lowerPalette != upperPalette && app.PaletteTable[lowerPalette]) {
    app.PaletteTable[lowerPalette]->SetGray(0);
  }
  if (app.LowerChart) {
    app.LowerChart->SetPalette(app.PaletteTable[lowerPalette].Get());
    SetChartValues(app.LowerChart.Get(), values);
    app.LowerChart->BuildGeometry();
  }

  // Without a window there is nothing to caption or repaint; InvalidateRect with no window would
  // repaint every window on the desktop.
  if (window != nullptr) {
    SetWindowTextW(window, caption);
    InvalidateRect(window, nullptr, FALSE);
  }
}
