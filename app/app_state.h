#pragma once
// The program-wide objects, held once for the whole run, and the platform seams behind them.

#include <d2d1.h>

#include <array>
#include <memory>

#include "app/chart_colours.h"
#include "app/random_source.h"
#include "chart/ipie_chart.h"
#include "chart/time_of_day.h"
#include "com/com_object.h"
#include "d2d/id2d_helper.h"
#include "palette/ipalette.h"
#include "window/gdi_handles.h"
#include "window/iwindow.h"

class AutomationHost;
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

// A chart's own outline: its colour (8-bit components) and width (0: none).
struct ChartOutline {
  INT32 red, green, blue;
  FLOAT width;
};
constexpr ChartOutline UpperOutline{192, 192, 192, 2.0f};
constexpr ChartOutline LowerOutline{0, 0, 0, 0.0f};

// The messages by which the charts' UI Automation tree reaches the window's thread.
constexpr UINT TreeRequestMessage = WM_APP + 1;
constexpr UINT TreePointMessage = WM_APP + 2;

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
  AutomationHost* automationHost = nullptr;
  // Whether a contrast theme is on.
  bool (*highContrast)() = nullptr;
};

// Who moved a chart's slice out. The pointer's slice goes back when the pointer leaves the
// chart's ellipse or the window; the keyboard's and UI Automation's stay until asked back.
enum class SelectionCause { Pointer, Keyboard, Automation };

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
  // Who moved each chart's selected slice out (upper, lower).
  std::array<SelectionCause, 2> SelectedBy{SelectionCause::Pointer, SelectionCause::Pointer};
  // The chart (0 upper, 1 lower) that the keyboard focus is on while the main window holds it,
  // kept while another program has the focus; -1 for none.
  int FocusChart = -1;
  // What had the focus when the window was last deactivated, to be given it back.
  HWND FocusToRestore = nullptr;
  // Whether the window's UI state hides focus cues (WM_UPDATEUISTATE).
  bool FocusCuesHidden = false;
  // The system's focus border, in pixels at 96 DPI: the widths of its vertical and horizontal
  // lines.
  UINT FocusBorderWidth = 1;
  UINT FocusBorderHeight = 1;
  // The colours the window draws with now (app/contrast_theme.h).
  ChartColours Colours;
  // The two colours of the focus rectangle, made with the render target.
  orb::ComPtr<ID2D1SolidColorBrush> FocusOuterBrush;
  orb::ComPtr<ID2D1SolidColorBrush> FocusInnerBrush;
  // Whether a WM_MOUSELEAVE has been asked for since the pointer last came in, and where the
  // pointer last moved to since (lParam of WM_MOUSEMOVE; -1 for nowhere yet).
  bool PointerTracked = false;
  LPARAM LastPointerMove = -1;
  // The tooltip of the slice that is out (app/slice_tooltip.h), owned by the main window, and
  // what it shows.
  struct SliceTooltip {
    HWND window = nullptr;
    UniqueFont font;
    int chart = -1;  // -1 while hidden
    int slice = -1;
    SelectionCause cause = SelectionCause::Pointer;
  } Tooltip;
};

// The chart at index (0 upper, 1 lower), and the index of a chart (-1 for neither).
IPieChart* ChartAt(int index);
int IndexOfChart(const IPieChart* chart);

// The chart that holds the keyboard focus now: the one the main window names while it has the
// focus, else -1.
int FocusedChart();

// The one state of this process.
AppState& App();

// Gives up the program-wide objects in their release order and forgets the platform.
void ReleaseAppObjects();
