#include "app/accessibility.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "uia/accessible_tree.h"
#include "uia/automation_host.h"
#include "uia/elements.h"

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
  FocusView focus;
  bool operator==(const WindowState& other) const {
    return dpi == other.dpi && EqualRect(&client, &other.client) != FALSE &&
           charts == other.charts && focus == other.focus;
  }
};

std::wstring PaletteNameOf(IPalette* palette) {
  AppState& app = App();
  for (size_t i = 0; i < app.PaletteTable.size(); ++i) {
    if (palette != nullptr && app.PaletteTable[i].Get() == palette && app.PaletteNames[i]) {
      return app.PaletteNames[i];
    }
  }
  return L"";
}

DipRect DipsOf(const D2D1_RECT_F& rect) {
  return DipRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The focus as the tree shows it: on the focused chart, or on its slice once the keyboard (or
// UI Automation's SetFocus, which does what the keys do) moved that slice out.
FocusView ReadFocus() {
  FocusView focus;
  focus.chart = FocusedChart();
  IPieChart* chart = ChartAt(focus.chart);
  if (chart != nullptr &&
      App().SelectedBy[static_cast<size_t>(focus.chart)] == SelectionCause::Keyboard) {
    focus.slice = chart->GetSelectedSlice();
  }
  return focus;
}

orb::ComPtr<IRawElementProviderSimple> Simple(const orb::ComPtr<IRawElementProviderFragment>& e) {
  orb::ComPtr<IRawElementProviderSimple> simple;
  if (e) e.As(&simple);
  return simple;
}

}  // namespace

class ChartAccessibility {
 public:
  explicit ChartAccessibility(HWND window)
      : tree_(std::make_shared<AccessibleTree>(window,
                                               TreeMessages{TreeRequestMessage, TreePointMessage})),
        root_(MakeRootElement(tree_)) {
    // Elements answer from the first moment, if only that there are no charts yet.
    previous_ = std::make_shared<const TreeSnapshot>();
    tree_->Publish(previous_);
  }
  ~ChartAccessibility() { tree_->Disconnect(); }
  ChartAccessibility(const ChartAccessibility&) = delete;
  ChartAccessibility& operator=(const ChartAccessibility&) = delete;

  // A new snapshot when the charts changed, and the events of the change.
  void Renew(AutomationHost* host) {
    const WindowState state = ReadState();
    if (state == seen_) return;
    seen_ = state;
    auto snapshot = std::make_shared<const TreeSnapshot>(MakeSnapshot(state));
    tree_->Publish(snapshot);
    if (host != nullptr) RaiseEvents(*previous_, *snapshot, *host);
    previous_ = std::move(snapshot);
  }

  LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam, AutomationHost* host) {
    const orb::ComPtr<IRawElementProviderSimple> root = Root();
    if (host == nullptr || !root) return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
    handedOut_ = true;
    return host->ReturnRoot(window, wParam, lParam, root.Get());
  }

  // Every element answers from now on that it is gone, and the system lets go of the root.
  void Disconnect(HWND window, AutomationHost* host) {
    const orb::ComPtr<IRawElementProviderSimple> root = Root();
    tree_->Disconnect();
    if (handedOut_ && host != nullptr && root) host->ReleaseRoot(window, root.Get());
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
      c.generation = chart->GetValuesGeneration();
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
    state.focus = ReadFocus();
    return state;
  }

  static TreeSnapshot MakeSnapshot(const WindowState& state) {
    TreeSnapshot snapshot;
    snapshot.pixelsPerDip = state.dpi > 0.0f ? state.dpi / 96.0 : 1.0;
    snapshot.client = state.client;
    for (int i = 0; i < kCharts; ++i) {
      const ChartState& c = state.charts[static_cast<size_t>(i)];
      if (c.exists) snapshot.charts.push_back(MakeChartView(i, c));
    }
    snapshot.focus = state.focus;
    return snapshot;
  }

  // The chart's slices as the chart lays them out.
  static ChartView MakeChartView(int index, const ChartState& c) {
    IPieChart* chart = ChartAt(index);
    ChartView view;
    view.automationId = kAutomationIds[static_cast<size_t>(index)];
    view.name = kNamePrefixes[static_cast<size_t>(index)] + PaletteNameOf(c.palette);
    if (c.gray) view.name += L" (gray)";
    view.generation = c.generation;
    view.bounds = DipRect{c.centreX - c.radiusX, c.centreY - c.radiusY, c.centreX + c.radiusX,
                          c.centreY + c.radiusY};
    const INT32 count = chart->GetSliceCount();
    view.slices.reserve(static_cast<size_t>(std::max(count, 0)));
    for (INT32 i = 0; i < count; ++i) {
      PieSlice slice{};
      chart->GetSlice(i, &slice);
      view.slices.push_back(SliceView{slice.value, slice.percent, DipsOf(slice.bounds)});
    }
    if (c.selected >= 0 && c.selected < count) {
      view.selected = c.selected;
      // A pulled-out slice widens its chart to where it is drawn.
      const DipRect& out = view.slices[static_cast<size_t>(c.selected)].bounds;
      view.bounds =
          DipRect{std::min(view.bounds.left, out.left), std::min(view.bounds.top, out.top),
                  std::max(view.bounds.right, out.right), std::max(view.bounds.bottom, out.bottom)};
    }
    return view;
  }

  void RaiseEvents(const TreeSnapshot& before, const TreeSnapshot& after,
                   AutomationHost& host) const {
    // Asked only once there is something to tell: the first question loads UI Automation.
    std::optional<bool> clientsListening;
    const auto listening = [&] {
      if (!clientsListening) clientsListening = host.ClientsListening();
      return *clientsListening;
    };
    if (before.charts.size() != after.charts.size()) {
      if (listening()) {
        if (const auto root = Root()) host.ChildrenInvalidated(root.Get());
      }
      return;
    }
    for (size_t i = 0; i < after.charts.size(); ++i) {
      const ChartView& was = before.charts[i];
      const ChartView& now = after.charts[i];
      const int chart = static_cast<int>(i);
      const bool replaced = was.generation != now.generation;
      if ((replaced || was.name != now.name) && listening()) {
        if (const auto element = Simple(MakeChartElement(tree_, chart))) {
          if (replaced) host.ChildrenInvalidated(element.Get());
          if (was.name != now.name) host.NameChanged(element.Get(), was.name, now.name);
        }
      }
      if (!replaced && now.selected != was.selected && listening()) {
        RaiseSelectionChange(chart, now.generation, was.selected, now.selected, host);
      }
    }
    const FocusView& focus = after.focus;
    const ChartView* focused = ChartOf(after, focus.chart);
    const ChartView* focusedBefore = ChartOf(before, focus.chart);
    const bool focusMoved = !(focus == before.focus) ||
                            (focusedBefore != nullptr && focused != nullptr && focus.slice >= 0 &&
                             focused->generation != focusedBefore->generation);
    if (focused != nullptr && focusMoved && listening()) {
      if (const auto element =
              Simple(ElementOf(tree_, focus.chart, focused->generation, focus.slice))) {
        host.FocusChanged(element.Get());
      }
    }
  }

  void RaiseSelectionChange(int chart, UINT32 generation, int was, int now,
                            AutomationHost& host) const {
    const auto slice = [&](int index) {
      return Simple(MakeSliceElement(tree_, chart, generation, index));
    };
    if (now >= 0) {
      if (const auto selected = slice(now)) {
        host.ElementSelected(selected.Get());
        host.IsSelectedChanged(selected.Get(), true);
      }
      if (was >= 0) {
        if (const auto left = slice(was)) host.IsSelectedChanged(left.Get(), false);
      }
    } else if (const auto left = slice(was)) {
      host.ElementRemovedFromSelection(left.Get());
      host.IsSelectedChanged(left.Get(), false);
    }
  }

  const std::shared_ptr<AccessibleTree> tree_;
  orb::ComPtr<IRawElementProviderFragmentRoot> root_;
  std::optional<WindowState> seen_;
  std::shared_ptr<const TreeSnapshot> previous_;
  bool handedOut_ = false;
};

void StartAccessibleTree(HWND window) {
  App().Accessibility = std::make_shared<ChartAccessibility>(window);
}

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
  AppState& app = App();
  // lParam may arrive zero-extended: the object id is its low 32 bits. UI Automation wants the
  // parameters as they came, also for OBJID_CLIENT, whose answer is its bridge for Microsoft
  // Active Accessibility's clients.
  const auto object = static_cast<LONG>(lParam);
  if (app.Accessibility && (object == uia::RootObjectId || object == OBJID_CLIENT)) {
    return app.Accessibility->Answer(window, wParam, lParam, app.Platform.automationHost);
  }
  return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
}

void RenewAccessibleTree() {
  AppState& app = App();
  if (app.Accessibility) app.Accessibility->Renew(app.Platform.automationHost);
}

void StopAccessibleTree(HWND window) {
  AppState& app = App();
  if (!app.Accessibility) return;
  app.Accessibility->Disconnect(window, app.Platform.automationHost);
  app.Accessibility.reset();
}

orb::ComPtr<IRawElementProviderSimple> AccessibleRoot() {
  AppState& app = App();
  return app.Accessibility ? app.Accessibility->Root() : nullptr;
}
