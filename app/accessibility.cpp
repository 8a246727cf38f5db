#include "app/accessibility.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/animation_setting.h"
#include "app/app_state.h"
#include "app/main_window_proc.h"
#include "chart/slice_layout.h"
#include "uia/accessible_tree.h"
#include "uia/automation_events.h"
#include "uia/elements.h"
#include "uia/uia_core.h"

namespace {

constexpr int kCharts = 2;
constexpr std::array<const wchar_t*, kCharts> kAutomationIds{L"UpperChart", L"LowerChart"};
constexpr std::array<const wchar_t*, kCharts> kNamePrefixes{L"Upper chart: ", L"Lower chart: "};

// What a chart's part of a snapshot is made from.
struct ChartState {
  bool exists = false;
  UINT32 generation = 0;
  IPalette* palette = nullptr;
  bool gray = false;
  INT32 selected = -1;
  INT32 offset = 0;
  FLOAT centreX = 0.0f;
  FLOAT centreY = 0.0f;
  FLOAT radiusX = 0.0f;
  FLOAT radiusY = 0.0f;
  bool operator==(const ChartState&) const = default;
};

// Everything a snapshot is made from: while none of it changes, the published one holds.
struct WindowState {
  FLOAT dpi = 96.0f;
  RECT client{};  // in screen pixels
  std::array<ChartState, kCharts> charts;
  bool operator==(const WindowState& other) const {
    return dpi == other.dpi && EqualRect(&client, &other.client) != FALSE && charts == other.charts;
  }
};

IPieChart* ChartAt(int index) {
  AppState& app = App();
  return index == 0 ? app.UpperChart.Get() : app.LowerChart.Get();
}

std::wstring PaletteNameOf(IPalette* palette) {
  AppState& app = App();
  for (size_t i = 0; i < app.PaletteTable.size(); ++i) {
    if (palette != nullptr && app.PaletteTable[i].Get() == palette && app.PaletteNames[i]) {
      return app.PaletteNames[i];
    }
  }
  return L"";
}

}  // namespace

class ChartAccessibility {
 public:
  explicit ChartAccessibility(HWND window)
      : tree_(std::make_shared<AccessibleTree>(window, SelectionRequestMessage)),
        root_(MakeRootElement(tree_)) {
    // Elements answer from the first moment, if only that there are no charts yet.
    tree_->Publish(std::make_shared<const TreeSnapshot>());
  }
  ~ChartAccessibility() { tree_->Disconnect(); }
  ChartAccessibility(const ChartAccessibility&) = delete;
  ChartAccessibility& operator=(const ChartAccessibility&) = delete;

  void NoteValues(int chart, const std::vector<float>& values) {
    values_[static_cast<size_t>(chart)] = values;
    ++generations_[static_cast<size_t>(chart)];
  }

  UINT32 Generation(int chart) const { return generations_[static_cast<size_t>(chart)]; }

  // A new snapshot when the charts changed, and the events of the change.
  void Renew(AutomationEvents* events) {
    const WindowState state = ReadState();
    if (state == seen_) return;
    seen_ = state;
    auto snapshot = std::make_shared<const TreeSnapshot>(MakeSnapshot(state));
    tree_->Publish(snapshot);
    if (events != nullptr && previous_) RaiseEvents(*previous_, *snapshot, *events);
    previous_ = std::move(snapshot);
  }

  LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto answer = UiaCore().returnRawElementProvider;
    orb::ComPtr<IRawElementProviderSimple> root;
    if (answer == nullptr || !root_ || FAILED(root_.As(&root))) {
      return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
    }
    handedOut_ = true;
    return answer(window, wParam, lParam, root.Get());
  }

  // Every element answers from now on that it is gone, and the system lets go of the root.
  void Disconnect(HWND window) {
    tree_->Disconnect();
    if (handedOut_) {
      orb::ComPtr<IRawElementProviderSimple> root;
      const auto disconnect = UiaCore().disconnectProvider;
      if (disconnect != nullptr && root_ && SUCCEEDED(root_.As(&root))) disconnect(root.Get());
      if (const auto answer = UiaCore().returnRawElementProvider) answer(window, 0, 0, nullptr);
    }
    root_.Reset();
  }

  orb::ComPtr<IRawElementProviderSimple> Root() const {
    orb::ComPtr<IRawElementProviderSimple> root;
    if (root_) root_.As(&root);
    return root;
  }

 private:
  WindowState ReadState() const {
    WindowState state;
    if (App().MainWindow) state.dpi = App().MainWindow->GetDpi();
    const HWND window = tree_->Window();
    GetClientRect(window, &state.client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&state.client), 2);
    for (int i = 0; i < kCharts; ++i) {
      IPieChart* chart = ChartAt(i);
      ChartState& c = state.charts[static_cast<size_t>(i)];
      if (chart == nullptr) continue;
      c.exists = true;
      c.generation = generations_[static_cast<size_t>(i)];
      orb::ComPtr<IPalette> palette;
      chart->GetPalette(&palette);
      c.palette = palette.Get();  // the palette table keeps it alive
      c.gray = palette && palette->GetGray() != 0;
      c.selected = chart->GetSelectedSlice();
      c.offset = chart->GetExplodeOffset();
      c.centreX = chart->GetCenterX();
      c.centreY = chart->GetCenterY();
      c.radiusX = chart->GetRadiusX();
      c.radiusY = chart->GetRadiusY();
    }
    return state;
  }

  TreeSnapshot MakeSnapshot(const WindowState& state) const {
    TreeSnapshot snapshot;
    snapshot.pixelsPerDip = state.dpi > 0.0f ? state.dpi / 96.0 : 1.0;
    snapshot.client = state.client;
    for (int i = 0; i < kCharts; ++i) {
      const ChartState& c = state.charts[static_cast<size_t>(i)];
      if (c.exists) snapshot.charts.push_back(MakeChartView(i, c));
    }
    return snapshot;
  }

  ChartView MakeChartView(int index, const ChartState& c) const {
    ChartView view;
    view.automationId = kAutomationIds[static_cast<size_t>(index)];
    view.name = kNamePrefixes[static_cast<size_t>(index)] + PaletteNameOf(c.palette);
    if (c.gray) view.name += L" (gray)";
    view.generation = c.generation;
    view.centreX = c.centreX;
    view.centreY = c.centreY;
    view.radiusX = c.radiusX;
    view.radiusY = c.radiusY;

    // The slices' angles as the chart lays them out, in its single precision.
    const std::vector<float>& values = values_[static_cast<size_t>(index)];
    const FLOAT total = PieTotal(values);
    if (total <= 0.0f) return view;
    view.total = total;
    const PieEllipse pie{c.centreX, c.centreY, c.radiusX, c.radiusY};
    const int count = static_cast<int>(values.size());
    view.slices.reserve(values.size());
    FLOAT start = 0.0f;
    for (int i = 0; i < count; ++i) {
      const FLOAT value = values[static_cast<size_t>(i)];
      const FLOAT end = start + 360.0f * (value / total);
      SliceView slice;
      slice.value = value;
      slice.startDegrees = start;
      slice.endDegrees = end;
      if (i == c.selected) {
        const SliceFigure figure = LayOutSlice(pie, start, end, true, static_cast<FLOAT>(c.offset));
        slice.offsetX = figure.apex.x - pie.cx;
        slice.offsetY = figure.apex.y - pie.cy;
        view.selected = i;
      }
      view.slices.push_back(slice);
      start = end;
    }
    return view;
  }

  void RaiseEvents(const TreeSnapshot& before, const TreeSnapshot& after,
                   AutomationEvents& events) const {
    if (before.charts.size() != after.charts.size()) return;
    // Asked only once there is something to tell: the first question loads UI Automation.
    std::optional<bool> clientsListening;
    const auto listening = [&] {
      if (!clientsListening) clientsListening = events.ClientsListening();
      return *clientsListening;
    };
    for (size_t i = 0; i < after.charts.size(); ++i) {
      const ChartView& was = before.charts[i];
      const ChartView& now = after.charts[i];
      const int chart = static_cast<int>(i);
      const bool replaced = was.generation != now.generation;
      if ((replaced || was.name != now.name) && listening()) {
        orb::ComPtr<IRawElementProviderSimple> element;
        const orb::ComPtr<IRawElementProviderFragment> fragment = MakeChartElement(tree_, chart);
        if (fragment && SUCCEEDED(fragment.As(&element))) {
          if (replaced) events.ChildrenInvalidated(element.Get());
          events.NameChanged(element.Get(), was.name, now.name);
        }
      }
      if (!replaced && now.selected >= 0 && now.selected != was.selected && listening()) {
        orb::ComPtr<IRawElementProviderSimple> element;
        const orb::ComPtr<IRawElementProviderFragment> fragment =
            MakeSliceElement(tree_, chart, now.generation, now.selected);
        if (fragment && SUCCEEDED(fragment.As(&element))) events.ElementSelected(element.Get());
      }
    }
  }

  const std::shared_ptr<AccessibleTree> tree_;
  orb::ComPtr<IRawElementProviderFragmentRoot> root_;
  std::array<std::vector<float>, kCharts> values_;
  std::array<UINT32, kCharts> generations_{};
  std::optional<WindowState> seen_;
  std::shared_ptr<const TreeSnapshot> previous_;
  bool handedOut_ = false;
};

namespace {

// What an element asked for, done as the pointer would do it, unless the slices it knew are gone.
void CarryOut(HWND window, const SelectionRequest& request) {
  AppState& app = App();
  IPieChart* chart = ChartAt(request.chart);
  if (!app.Accessibility || chart == nullptr ||
      app.Accessibility->Generation(request.chart) != request.generation) {
    return;
  }
  if (request.select) {
    SelectSliceAsPointer(window, chart, request.slice);
  } else if (chart->GetSelectedSlice() == request.slice) {
    PutSliceBack(window, chart);
  }
}

}  // namespace

LRESULT CALLBACK AccessibleMainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState& app = App();
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE:
      app.Accessibility = std::make_shared<ChartAccessibility>(window);
      app.ClientAreaAnimation = ReadClientAreaAnimation();
      result = MainWindowProc(window, message, wParam, lParam);
      break;
    case WM_GETOBJECT:
      // lParam may arrive zero-extended: the object id is its low 32 bits.
      if (app.Accessibility && static_cast<LONG>(lParam) == uia::RootObjectId) {
        return app.Accessibility->Answer(window, wParam, lParam);
      }
      return MainWindowProc(window, message, wParam, lParam);
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETCLIENTAREAANIMATION) app.ClientAreaAnimation = ReadClientAreaAnimation();
      result = MainWindowProc(window, message, wParam, lParam);
      break;
    case SelectionRequestMessage:
      CarryOut(window, UnpackSelectionRequest(wParam, lParam));
      break;
    case WM_DESTROY:
      if (app.Accessibility) {
        app.Accessibility->Disconnect(window);
        app.Accessibility.reset();
      }
      return MainWindowProc(window, message, wParam, lParam);
    default:
      result = MainWindowProc(window, message, wParam, lParam);
      break;
  }
  if (app.Accessibility) app.Accessibility->Renew(app.Platform.automationEvents);
  return result;
}

void NoteChartValues(IPieChart* chart, const std::vector<float>& values) {
  AppState& app = App();
  if (!app.Accessibility || chart == nullptr) return;
  for (int i = 0; i < kCharts; ++i) {
    if (ChartAt(i) == chart) app.Accessibility->NoteValues(i, values);
  }
}

orb::ComPtr<IRawElementProviderSimple> AccessibleRoot() {
  AppState& app = App();
  return app.Accessibility ? app.Accessibility->Root() : nullptr;
}
