#pragma once
// The program-wide objects, held once for the whole run, and the platform seams behind them.

#include <d2d1.h>

#include <array>
#include <memory>

#include "app/random_source.h"
#include "chart/ipie_chart.h"
#include "chart/time_of_day.h"
#include "com/com_object.h"
#include "d2d/id2d_helper.h"
#include "palette/ipalette.h"
#include "window/iwindow.h"

class AutomationEvents;
class ChartAccessibility;

constexpr int IdRegen = 101;
constexpr int IdGray = 102;

// Where a control stands, in logical units: at creation and again after every change of DPI.
struct ControlPlace {
  int id;
  INT32 x, y, width, height;
};
constexpr ControlPlace RegenPlace{IdRegen, 10, 10, 100, 20};
constexpr ControlPlace GrayPlace{IdGray, 10, 30, 100, 20};

constexpr UINT_PTR ExplodeTimerId = 1;
constexpr UINT ExplodeTimerPeriodMs = 16;
constexpr int MaxExplodeOffset = 20;

// What the program needs from the platform; tests replace single entries.
struct AppPlatform {
  HRESULT (*newWindow)(IWindow** window) = nullptr;
  HRESULT (*createFactory)(D2D1_FACTORY_TYPE type, ID2D1Factory** factory) = nullptr;
  HRESULT (*newHelper)(ID2DHelper** helper) = nullptr;
  TimeOfDayClock clock = nullptr;
  RandomSource* random = nullptr;
  AutomationEvents* automationEvents = nullptr;
};

// The real platform: CWindow, Direct2D, the local time of day, the system's UI Automation, and
// the given random source.
AppPlatform DefaultPlatform(RandomSource& random);

struct AppState {
  orb::ComPtr<IWindow> MainWindow;
  orb::ComPtr<ID2D1Factory> D2DFactory;
  orb::ComPtr<ID2DHelper> D2DHelper;
  orb::ComPtr<ID2D1HwndRenderTarget> WindowRenderTarget;
  std::array<orb::ComPtr<IPalette>, 5> PaletteTable;
  std::array<const wchar_t*, 5> PaletteNames{};
  orb::ComPtr<IPieChart> UpperChart;
  orb::ComPtr<IPieChart> LowerChart;
  AppPlatform Platform;
  // Whether the last frame was lost to D2DERR_RECREATE_TARGET.
  bool LastFrameLost = false;
  // What assistive technology reads of the charts (app/accessibility.h), made with the window.
  std::shared_ptr<ChartAccessibility> Accessibility;
  // The system's "Show animations in Windows", read with the window and whenever it changes.
  bool ClientAreaAnimation = true;
};

// The one state of this process.
AppState& App();

// Gives up the program-wide objects in their release order and forgets the platform.
void ReleaseAppObjects();
