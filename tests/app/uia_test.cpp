// What a screen reader gets of the charts. In process: the tree's elements called directly, as
// UI Automation calls them (names, types, ids, rectangles, navigation, the element under a point,
// selection, events, other threads, a window that is gone) and the system's animation setting.
// End to end: another process reads the running program's tree through Wine's UI Automation
// client functions.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/accessibility.h"
#include "app/explode_animation.h"
#include "chart/pie_chart.h"
#include "helpers/win32.h"
#include "palette/irenderable.h"
#include "tests/app/app_fixture.h"
#include "tests/app/dpi_suggestion.h"
#include "tests/app/program_process.h"
#include "tests/app/screen_capture.h"
#include "tests/app/uia_client.h"
#include "uia/automation_host.h"
#include "uia/elements.h"

namespace apptest {
namespace {

using Element = orb::ComPtr<IRawElementProviderFragment>;
using win32::Narrow;

// A slice's name: its number, the count, its value and its share in percent.
constexpr const wchar_t* kSliceName = LR"(Slice (\d+) of (\d+): (\d+) \((\d+\.\d)%\))";

// A property as text: strings as they are, integers and booleans in decimal, nothing as "".
std::wstring PropertyOf(IUnknown* element, PROPERTYID property, HRESULT* result = nullptr) {
  orb::ComPtr<IRawElementProviderSimple> simple;
  VARIANT value;
  VariantInit(&value);
  HRESULT answer = element->QueryInterface(IID_PPV_ARGS(&simple));
  if (SUCCEEDED(answer)) answer = simple->GetPropertyValue(property, &value);
  if (result != nullptr) *result = answer;
  std::wstring text;
  if (value.vt == VT_BSTR) text = value.bstrVal != nullptr ? value.bstrVal : L"";
  if (value.vt == VT_I4) text = std::to_wstring(value.lVal);
  if (value.vt == VT_BOOL) text = value.boolVal != VARIANT_FALSE ? L"true" : L"false";
  VariantClear(&value);
  return text;
}

std::string NameOf(IUnknown* element) { return Narrow(PropertyOf(element, UIA_NamePropertyId)); }
std::string IdOf(IUnknown* element) {
  return Narrow(PropertyOf(element, UIA_AutomationIdPropertyId));
}

Element Navigate(IRawElementProviderFragment* from, NavigateDirection direction) {
  Element to;
  from->Navigate(direction, &to);
  return to;
}

std::vector<Element> ChildrenOf(IRawElementProviderFragment* parent) {
  std::vector<Element> children;
  for (Element child = Navigate(parent, NavigateDirection_FirstChild); child;
       child = Navigate(child.Get(), NavigateDirection_NextSibling)) {
    children.push_back(child);
  }
  return children;
}

// The pattern provider id of element as Pattern; null unless GetPatternProvider answered S_OK
// with a provider of that interface.
template <typename Pattern>
orb::ComPtr<Pattern> PatternOf(IUnknown* element, PATTERNID id) {
  orb::ComPtr<IRawElementProviderSimple> simple;
  orb::ComPtr<IUnknown> provider;
  orb::ComPtr<Pattern> pattern;
  if (SUCCEEDED(element->QueryInterface(IID_PPV_ARGS(&simple))) &&
      simple->GetPatternProvider(id, &provider) == S_OK && provider) {
    provider.As(&pattern);
  }
  return pattern;
}

std::vector<int> RuntimeIdOf(IRawElementProviderFragment* element) {
  SAFEARRAY* array = nullptr;
  std::vector<int> id;
  if (FAILED(element->GetRuntimeId(&array)) || array == nullptr) return id;
  int* values = nullptr;
  if (SUCCEEDED(SafeArrayAccessData(array, reinterpret_cast<void**>(&values)))) {
    id.assign(values, values + array->rgsabound[0].cElements);
    SafeArrayUnaccessData(array);
  }
  SafeArrayDestroy(array);
  return id;
}

// What the tree hands UI Automation, as lines: "root for wParam 7, lParam -25", "released root",
// "selected UpperChart/Slice1", "removed UpperChart/Slice1", "UpperChart/Slice1 is selected",
// "children of LowerChart", "name of UpperChart: <before> -> <after>", "focus on UpperChart".
// While listening is false, only the root's lines come: events are made only for listeners.
class RecordedHost final : public AutomationHost {
 public:
  static constexpr LRESULT kRootKey = 0x5EED;

  LRESULT ReturnRoot(HWND, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple*) override {
    lines.push_back("root for wParam " + std::to_string(wParam) + ", lParam " +
                    std::to_string(lParam));
    return kRootKey;
  }
  void ReleaseRoot(HWND, IRawElementProviderSimple*) override { lines.push_back("released root"); }
  bool ClientsListening() override {
    ++questions;
    return listening;
  }
  void ElementSelected(IRawElementProviderSimple* element) override {
    Note("selected " + Describe(element));
  }
  void ElementRemovedFromSelection(IRawElementProviderSimple* element) override {
    Note("removed " + Describe(element));
  }
  void IsSelectedChanged(IRawElementProviderSimple* element, bool selected) override {
    Note(Describe(element) + (selected ? " is selected" : " is not selected"));
  }
  void ChildrenInvalidated(IRawElementProviderSimple* element) override {
    Note("children of " + Describe(element));
  }
  void NameChanged(IRawElementProviderSimple* element, const std::wstring& before,
                   const std::wstring& after) override {
    Note("name of " + Describe(element) + ": " + Narrow(before) + " -> " + Narrow(after));
  }
  void FocusChanged(IRawElementProviderSimple* element) override {
    Note("focus on " + Describe(element));
  }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }

  bool listening = true;
  int questions = 0;
  std::vector<std::string> lines;

 private:
  void Note(std::string line) {
    if (!listening) line = "unasked: " + line;
    lines.push_back(std::move(line));
  }
  // "UpperChart/Slice1", "UpperChart" or "root".
  static std::string Describe(IUnknown* element) {
    std::string id = IdOf(element);
    if (id.empty()) return "root";
    if (id.rfind("Slice", 0) != 0) return id;
    Element fragment;
    element->QueryInterface(IID_PPV_ARGS(&fragment));
    const Element chart = fragment ? Navigate(fragment.Get(), NavigateDirection_Parent) : nullptr;
    return (chart ? IdOf(chart.Get()) : "?") + "/" + id;
  }
};

class AccessibilityTest : public AppTest {
 protected:
  AccessibilityTest() { automationHost_ = &events_; }
  void SetUp() override {
    AppTest::SetUp();
    startupEvents_ = events_.Take();
    orb::ComPtr<IRawElementProviderSimple> root = AccessibleRoot();
    ASSERT_TRUE(root);
    ASSERT_TRUE(SUCCEEDED(root.As(&root_)) && SUCCEEDED(root.As(&fragmentRoot_)));
  }
  void TearDown() override {
    root_.Reset();
    fragmentRoot_.Reset();
    AppTest::TearDown();
  }

  // The chart's element: 0 upper, 1 lower.
  Element Chart(int index) const {
    Element chart = Navigate(root_.Get(), NavigateDirection_FirstChild);
    return index == 0 || !chart ? chart : Navigate(chart.Get(), NavigateDirection_NextSibling);
  }
  Element Slice(int chart, int index) const {
    const std::vector<Element> slices = ChildrenOf(Chart(chart).Get());
    return index < static_cast<int>(slices.size()) ? slices[static_cast<size_t>(index)] : nullptr;
  }

  // What ElementProviderFromPoint answers for a client pixel: "UpperChart/Slice2", "LowerChart",
  // "root", or "" for nothing.
  std::string ElementAt(LONG x, LONG y) const {
    POINT screen{x, y};
    ClientToScreen(window_, &screen);
    Element found;
    fragmentRoot_->ElementProviderFromPoint(screen.x, screen.y, &found);
    if (!found) return "";
    const std::string id = IdOf(found.Get());
    if (id.rfind("Slice", 0) != 0) return id.empty() ? "root" : id;
    return IdOf(Navigate(found.Get(), NavigateDirection_Parent).Get()) + "/" + id;
  }

  // The element that the root names as focused: "UpperChart", "UpperChart/Slice2", or "".
  std::string FocusedElement() const {
    Element focused;
    fragmentRoot_->GetFocus(&focused);
    if (!focused) return "";
    std::string id = IdOf(focused.Get());
    if (id.rfind("Slice", 0) != 0) return id;
    return IdOf(Navigate(focused.Get(), NavigateDirection_Parent).Get()) + "/" + id;
  }

  // The elements that answer HasKeyboardFocus true, and those that are not enabled and
  // focusable, among both charts and all their slices.
  std::string KeyboardFocusProblems(const std::string& expected) const {
    std::string focused;
    std::string problems;
    for (int c = 0; c < 2; ++c) {
      const Element chart = Chart(c);
      std::vector<Element> elements = ChildrenOf(chart.Get());
      elements.insert(elements.begin(), chart);
      for (size_t i = 0; i < elements.size(); ++i) {
        IRawElementProviderFragment* element = elements[i].Get();
        const std::string name =
            IdOf(chart.Get()) + (i == 0 ? "" : "/Slice" + std::to_string(i - 1));
        if (PropertyOf(element, UIA_HasKeyboardFocusPropertyId) == L"true") focused += name;
        if (PropertyOf(element, UIA_IsEnabledPropertyId) != L"true" ||
            PropertyOf(element, UIA_IsKeyboardFocusablePropertyId) != L"true") {
          problems += name + " is not enabled and focusable; ";
        }
      }
    }
    if (focused != expected) problems += "the focus is on \"" + focused + "\"; ";
    if (FocusedElement() != expected) problems += "GetFocus names \"" + FocusedElement() + "\"; ";
    return problems;
  }

  RecordedHost events_;
  std::vector<std::string> startupEvents_;
  Element root_;
  orb::ComPtr<IRawElementProviderFragmentRoot> fragmentRoot_;
};

TEST_F(AccessibilityTest, TheTreeNamesTypesAndNavigatesBothChartsAndEverySlice) {
  const std::vector<Element> charts = ChildrenOf(root_.Get());
  ASSERT_EQ(2u, charts.size());
  EXPECT_EQ("UpperChart", IdOf(charts[0].Get()));
  EXPECT_EQ("Upper chart: Fire (gray)", NameOf(charts[0].Get()));
  EXPECT_EQ("LowerChart", IdOf(charts[1].Get()));
  EXPECT_EQ("Lower chart: Berry", NameOf(charts[1].Get()));
  orb::ComPtr<IUnknown> rootIdentity, parent;
  root_.As(&rootIdentity);
  for (const Element& chart : charts) {
    EXPECT_EQ(L"50008", PropertyOf(chart.Get(), UIA_ControlTypePropertyId));  // List
    Navigate(chart.Get(), NavigateDirection_Parent).As(&parent);
    EXPECT_EQ(rootIdentity.Get(), parent.Get()) << "a chart's parent is the root";
  }
  EXPECT_EQ("LowerChart", IdOf(Navigate(root_.Get(), NavigateDirection_LastChild).Get()));
  EXPECT_EQ("UpperChart", IdOf(Navigate(charts[1].Get(), NavigateDirection_PreviousSibling).Get()));
  EXPECT_FALSE(Navigate(charts[1].Get(), NavigateDirection_NextSibling));
  EXPECT_FALSE(Navigate(root_.Get(), NavigateDirection_Parent));
  EXPECT_TRUE(RuntimeIdOf(root_.Get()).empty()) << "the window's element names the root";
  EXPECT_EQ((std::vector<int>{uia::AppendRuntimeId, 2}), RuntimeIdOf(charts[1].Get()));

  const std::vector<Element> upper = ChildrenOf(charts[0].Get());
  const std::vector<Element> lower = ChildrenOf(charts[1].Get());
  ASSERT_EQ(4u, upper.size());
  ASSERT_EQ(3u, lower.size());
  EXPECT_EQ("Slice 1 of 4: 40 (25.0%)", NameOf(upper[0].Get()));
  EXPECT_EQ("Slice 4 of 4: 40 (25.0%)", NameOf(upper[3].Get()));
  EXPECT_EQ("Slice 2 of 3: 30 (33.3%)", NameOf(lower[1].Get()));
  EXPECT_EQ("Slice2", IdOf(lower[2].Get()));
  EXPECT_EQ(L"50007", PropertyOf(lower[2].Get(), UIA_ControlTypePropertyId));  // ListItem
  EXPECT_EQ("Slice2", IdOf(Navigate(charts[1].Get(), NavigateDirection_LastChild).Get()));
  EXPECT_EQ("Slice1", IdOf(Navigate(lower[2].Get(), NavigateDirection_PreviousSibling).Get()));
  EXPECT_FALSE(Navigate(lower[0].Get(), NavigateDirection_PreviousSibling));
  EXPECT_FALSE(Navigate(lower[0].Get(), NavigateDirection_FirstChild));
  EXPECT_EQ("LowerChart", IdOf(Navigate(lower[0].Get(), NavigateDirection_Parent).Get()));
  // Chart 2, the generation of its values, slice 2.
  EXPECT_EQ((std::vector<int>{uia::AppendRuntimeId, 2,
                              static_cast<int>(Lower()->GetValuesGeneration()), 2}),
            RuntimeIdOf(lower[1].Get()));

  // The charts offer Selection (one slice at most, none required), the slices SelectionItem.
  const auto selection = PatternOf<ISelectionProvider>(charts[0].Get(), UIA_SelectionPatternId);
  ASSERT_TRUE(selection);
  BOOL multiple = TRUE, required = TRUE;
  selection->get_CanSelectMultiple(&multiple);
  selection->get_IsSelectionRequired(&required);
  EXPECT_FALSE(multiple);
  EXPECT_FALSE(required);
  EXPECT_FALSE(PatternOf<IUnknown>(charts[0].Get(), UIA_SelectionItemPatternId));
  const auto item = PatternOf<ISelectionItemProvider>(upper[2].Get(), UIA_SelectionItemPatternId);
  ASSERT_TRUE(item);
  orb::ComPtr<IRawElementProviderSimple> container;
  item->get_SelectionContainer(&container);
  EXPECT_EQ("UpperChart", IdOf(container.Get()));
}

// Expected rectangles, from the charts' own figures: the pies' ellipses, and the first slice of
// the upper chart (0 to 90 degrees: from the centre down to the bottom and right to the rim).
std::string RectangleProblems(const Element& upperChart, const Element& lowerChart,
                              const Element& firstSlice, double scale, POINT origin) {
  std::ostringstream problems;
  // From the chart's centre moved by from times its radii (-1: its ellipse's top left) to the
  // ellipse's bottom right.
  const auto check = [&](const char* what, IRawElementProviderFragment* element, IPieChart* chart,
                         double from) {
    UiaRect bounds{};
    element->get_BoundingRectangle(&bounds);
    const double left = chart->GetCenterX() + from * chart->GetRadiusX();
    const double top = chart->GetCenterY() + from * chart->GetRadiusY();
    const double expected[] = {origin.x + left * scale, origin.y + top * scale,
                               (1 - from) * chart->GetRadiusX() * scale,
                               (1 - from) * chart->GetRadiusY() * scale};
    const double actual[] = {bounds.left, bounds.top, bounds.width, bounds.height};
    if (!std::equal(expected, expected + 4, actual,
                    [](double e, double a) { return std::fabs(e - a) <= 0.01; })) {
      problems << what << " at (" << actual[0] << ", " << actual[1] << ") sized " << actual[2]
               << " x " << actual[3] << ", expected (" << expected[0] << ", " << expected[1]
               << ") sized " << expected[2] << " x " << expected[3] << "; ";
    }
  };
  check("the upper chart", upperChart.Get(), App().UpperChart.Get(), -1.0);
  check("the lower chart", lowerChart.Get(), App().LowerChart.Get(), -1.0);
  check("the upper chart's first slice", firstSlice.Get(), App().UpperChart.Get(), 0.0);
  return problems.str();
}

TEST_F(AccessibilityTest, RectanglesAreScreenPixelsAtTheWindowsDpiAndAfterItChanges) {
  const Element upper = Chart(0);
  const Element lower = Chart(1);
  const Element first = Slice(0, 0);
  ASSERT_TRUE(upper && lower && first);
  POINT origin{0, 0};
  ClientToScreen(window_, &origin);
  EXPECT_EQ("", RectangleProblems(upper, lower, first, PixelsPerDip(), origin));

  const RECT suggested = SuggestedWindowRect(window_, 144);
  SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_FLOAT_EQ(1.5f, PixelsPerDip());
  origin = POINT{0, 0};
  ClientToScreen(window_, &origin);
  EXPECT_EQ("", RectangleProblems(upper, lower, first, 1.5, origin));
  UiaRect bounds{};
  upper->get_BoundingRectangle(&bounds);
  EXPECT_NEAR(340 * 1.5, bounds.width, 0.01) << "the upper pie is 340 units wide";

  // The root is the client area.
  root_->get_BoundingRectangle(&bounds);
  const RECT client = win32::ClientBounds(window_);
  EXPECT_DOUBLE_EQ(origin.x, bounds.left);
  EXPECT_DOUBLE_EQ(client.bottom, bounds.height);

  // A pulled-out slice widens its chart's rectangle to where it is drawn: slice 2 of 3 (240 to
  // 360 degrees) moves 20 units along 300 degrees, so its leftmost point, the rim at 270 degrees,
  // lies 120 + 20 sin 60 units left of the centre.
  MoveMouse(PointOnChart(Lower(), 300.0f, 0.5f));
  TickAfter(0.1f);
  ASSERT_EQ(20, Lower()->GetExplodeOffset());
  lower->get_BoundingRectangle(&bounds);
  EXPECT_NEAR(origin.x + (Lower()->GetCenterX() - 120.0 - 20.0 * std::sqrt(0.75)) * 1.5,
              bounds.left, 0.01);

  // One value is the whole pie: its slice is drawn as the whole ellipse.
  SetChartValues(Lower(), {50.0f});
  Lower()->BuildGeometry();
  SendMessageW(window_, WM_NULL, 0, 0);  // the tree renews after the window's next message
  Slice(1, 0)->get_BoundingRectangle(&bounds);
  const double rim[] = {origin.x + (Lower()->GetCenterX() - 120.0) * 1.5,
                        origin.y + (Lower()->GetCenterY() - 120.0) * 1.5, 240.0 * 1.5, 240.0 * 1.5};
  const double drawn[] = {bounds.left, bounds.top, bounds.width, bounds.height};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(rim[i], drawn[i], 0.01) << "entry " << i;
}

// What the charts themselves make of a point (client units): the slice their hit test finds, or
// the chart whose ellipse holds the point as the pointer's tracking measures it, else the root.
// Empty where a neighbour half a unit away would get another answer: on an edge the two ways of
// computing may differ by rounding.
std::string ChartsAnswerAt(double x, double y) {
  std::string answer;
  for (double dx : {0.0, -0.5, 0.5}) {
    for (double dy : {0.0, -0.5, 0.5}) {
      std::string here = "root";
      const std::pair<const char*, IPieChart*> charts[] = {{"UpperChart", App().UpperChart.Get()},
                                                           {"LowerChart", App().LowerChart.Get()}};
      for (const auto& [id, chart] : charts) {
        orb::ComPtr<IRenderable> renderable;
        chart->QueryInterface(IID_PPV_ARGS(&renderable));
        const INT32 hit =
            renderable->HitTest(static_cast<FLOAT>(x + dx), static_cast<FLOAT>(y + dy),
                                App().D2DHelper->MakeIdentityMatrix());
        if (hit >= 0) {
          here = std::string(id) + "/Slice" + std::to_string(hit);
          break;
        }
      }
      for (const auto& [id, chart] : charts) {
        if (here != "root") break;
        const double u = (x + dx - chart->GetCenterX()) / chart->GetRadiusX();
        const double v = (y + dy - chart->GetCenterY()) / chart->GetRadiusY();
        if (u * u + v * v <= 1.0) here = id;
      }
      if (answer.empty()) answer = here;
      if (here != answer) return "";
    }
  }
  return answer;
}

TEST_F(AccessibilityTest, TheElementUnderAPointIsWhatTheChartsHitTestFinds) {
  Regen({10, 150, 20, 80, 35}, 2, {100, 20, 60, 90, 15, 45}, 3);
  // The upper chart's second slice pulled out all the way, leaving a gap at the centre.
  MoveMouse(PointOnChart(Upper(), 120.0f, 0.6f));
  TickAfter(0.2f);
  ASSERT_EQ(1, Upper()->GetSelectedSlice());
  ASSERT_EQ(20, Upper()->GetExplodeOffset());

  const RECT client = win32::ClientBounds(window_);
  const double scale = PixelsPerDip();
  const LONG step = std::lround(7 * scale);  // as many points at every DPI
  int compared = 0, beyondRim = 0, inGap = 0;
  std::ostringstream problems;
  for (LONG py = 0; py < client.bottom; py += step) {
    for (LONG px = 0; px < client.right; px += step) {
      const double x = px / scale;
      const double y = py / scale;
      const std::string expected = ChartsAnswerAt(x, y);
      if (expected.empty()) continue;
      ++compared;
      const std::string actual = ElementAt(px, py);
      if (actual != expected) {
        problems << "(" << px << ", " << py << "): " << actual << " instead of " << expected
                 << "; ";
      }
      const double u = (x - Upper()->GetCenterX()) / Upper()->GetRadiusX();
      const double v = (y - Upper()->GetCenterY()) / Upper()->GetRadiusY();
      if (expected == "UpperChart/Slice1" && u * u + v * v > 1.0) ++beyondRim;
      if (expected == "UpperChart") ++inGap;
    }
  }
  EXPECT_EQ("", problems.str().substr(0, 2000));
  EXPECT_GT(compared, 4000);
  EXPECT_GT(beyondRim, 0) << "no point of the pulled-out slice beyond the rim was compared";
  EXPECT_GT(inGap, 0) << "no point of the gap it left was compared";

  // Outside the client area there is nothing.
  EXPECT_EQ("", ElementAt(client.right + 5, client.bottom + 5));
}

TEST_F(AccessibilityTest, SelectAndRemoveMoveSlicesAndRaiseTheirEvents) {
  MoveMouse(PointOnChart(Upper(), 135.0f, 0.6f));
  ASSERT_EQ(1, Upper()->GetSelectedSlice());
  EXPECT_EQ(
      (std::vector<std::string>{"selected UpperChart/Slice1", "UpperChart/Slice1 is selected"}),
      events_.Take());

  const Element slice = Slice(1, 2);
  ASSERT_TRUE(slice);
  const auto item = PatternOf<ISelectionItemProvider>(slice.Get(), UIA_SelectionItemPatternId);
  ASSERT_TRUE(item);
  ASSERT_EQ(S_OK, item->Select());
  // The request waits for the window's thread.
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  PumpMessages();
  EXPECT_EQ(2, Lower()->GetSelectedSlice());
  EXPECT_EQ(0, Lower()->GetExplodeOffset());
  EXPECT_EQ(-1, Upper()->GetSelectedSlice())
      << "the other chart's selection goes, as for the pointer";
  EXPECT_TRUE(StopTimer()) << "the slice moves out with the animation's timer";
  StartTimer();
  TickAfter(0.1f);
  EXPECT_EQ(20, Lower()->GetExplodeOffset());
  EXPECT_EQ(
      (std::vector<std::string>{"removed UpperChart/Slice1", "UpperChart/Slice1 is not selected",
                                "selected LowerChart/Slice2", "LowerChart/Slice2 is selected"}),
      events_.Take());

  BOOL selected = FALSE;
  item->get_IsSelected(&selected);
  EXPECT_TRUE(selected);
  const auto selection = PatternOf<ISelectionProvider>(Chart(1).Get(), UIA_SelectionPatternId);
  ASSERT_TRUE(selection);
  SAFEARRAY* chosen = nullptr;
  ASSERT_EQ(S_OK, selection->GetSelection(&chosen));
  LONG index = 0;
  orb::ComPtr<IUnknown> first;
  ASSERT_EQ(S_OK, SafeArrayGetElement(chosen, &index, first.GetAddressOf()));
  EXPECT_EQ("Slice2", IdOf(first.Get()));
  SafeArrayDestroy(chosen);

  // One slice at most: another cannot be added while this one is selected; removing puts this
  // one back, and then adding another selects it.
  const auto otherItem =
      PatternOf<ISelectionItemProvider>(Slice(1, 0).Get(), UIA_SelectionItemPatternId);
  ASSERT_TRUE(otherItem);
  EXPECT_EQ(uia::InvalidOperation, otherItem->AddToSelection());
  ASSERT_EQ(S_OK, item->RemoveFromSelection());
  PumpMessages();
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
  EXPECT_FALSE(StopTimer());
  EXPECT_EQ(
      (std::vector<std::string>{"removed LowerChart/Slice2", "LowerChart/Slice2 is not selected"}),
      events_.Take());
  ASSERT_EQ(S_OK, otherItem->AddToSelection());
  PumpMessages();
  EXPECT_EQ(0, Lower()->GetSelectedSlice());
  EXPECT_EQ(
      (std::vector<std::string>{"selected LowerChart/Slice0", "LowerChart/Slice0 is selected"}),
      events_.Take());

  // Another slice of the same chart: the one that was selected is no longer.
  MoveMouse(PointOnChart(Lower(), 180.0f, 0.5f));
  EXPECT_EQ((std::vector<std::string>{"selected LowerChart/Slice1", "LowerChart/Slice1 is selected",
                                      "LowerChart/Slice0 is not selected"}),
            events_.Take());
}

TEST_F(AccessibilityTest, RegenReplacesTheSlicesAndGrayRenamesTheUpperChart) {
  const Element oldSlice = Slice(0, 1);
  const std::vector<int> oldId = RuntimeIdOf(oldSlice.Get());
  Regen({10, 20, 30}, 3, {50, 50}, 1);
  EXPECT_EQ((std::vector<std::string>{
                "children of UpperChart",
                "name of UpperChart: Upper chart: Fire (gray) -> Upper chart: Earth (gray)",
                "children of LowerChart",
                "name of LowerChart: Lower chart: Berry -> Lower chart: Bright"}),
            events_.Take());
  HRESULT result = S_OK;
  PropertyOf(oldSlice.Get(), UIA_NamePropertyId, &result);
  EXPECT_EQ(Hex(uia::ElementNotAvailable), Hex(result)) << "a slice of the old values is gone";
  const Element newSlice = Slice(0, 1);
  EXPECT_EQ("Slice 2 of 3: 20 (33.3%)", NameOf(newSlice.Get()));
  const std::vector<int> newId = RuntimeIdOf(newSlice.Get());
  ASSERT_EQ(4u, oldId.size());
  EXPECT_NE(oldId, newId);

  // "Gray" renames the chart and keeps its slices, ids and all.
  SendMessageW(GetDlgItem(window_, IdGray), BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<std::string>{
                "name of UpperChart: Upper chart: Earth (gray) -> Upper chart: Earth"}),
            events_.Take());
  EXPECT_EQ("Upper chart: Earth", NameOf(Chart(0).Get()));
  EXPECT_EQ(newId, RuntimeIdOf(newSlice.Get()));

  // New values in the same palettes replace the slices and keep the names.
  Regen({40, 50}, 3, {60, 70, 80}, 1);
  EXPECT_EQ((std::vector<std::string>{"children of UpperChart", "children of LowerChart"}),
            events_.Take());
}

TEST_F(AccessibilityTest, OtherThreadsGetConsistentAnswersWhileTheWindowRegenerates) {
  const Element root = root_;
  POINT onUpper{std::lround((Upper()->GetCenterX() + 60.0) * PixelsPerDip()),
                std::lround((Upper()->GetCenterY() + 10.0) * PixelsPerDip())};
  ClientToScreen(window_, &onUpper);
  std::atomic<bool> done{false};
  std::atomic<long> names{0};
  std::string problems;  // the reader's, read once it has ended
  std::thread reader([&] {
    // Every list below has equal values, so each of n slices has the share 100 / n.
    const std::wregex pattern(kSliceName);
    while (!done && problems.size() < 1000) {
      for (const Element& chart : ChildrenOf(root.Get())) {
        const std::vector<Element> slices = ChildrenOf(chart.Get());
        for (size_t i = 0; i < slices.size(); ++i) {
          HRESULT result = S_OK;
          const std::wstring name = PropertyOf(slices[i].Get(), UIA_NamePropertyId, &result);
          if (result == uia::ElementNotAvailable) continue;  // replaced meanwhile
          std::wsmatch parts;
          if (FAILED(result) || !std::regex_match(name, parts, pattern)) {
            problems +=
                "slice " + std::to_string(i) + ": " + Hex(result) + " \"" + Narrow(name) + "\"; ";
            continue;
          }
          const int index = std::stoi(parts[1].str());
          const int count = std::stoi(parts[2].str());
          const double share = std::stod(parts[4].str());
          if (index != static_cast<int>(i) + 1 || count < static_cast<int>(slices.size()) ||
              count < 2 || count > 20 || std::fabs(share - 100.0 / count) > 0.051) {
            problems += "slice " + std::to_string(i) + " of " + std::to_string(slices.size()) +
                        " read \"" + Narrow(name) + "\"; ";
          }
          ++names;
        }
      }
      Element found;
      const HRESULT result = fragmentRoot_->ElementProviderFromPoint(onUpper.x, onUpper.y, &found);
      if (FAILED(result)) problems += "ElementProviderFromPoint: " + Hex(result) + "; ";
    }
  });
  for (int round = 0; round < 100; ++round) {
    const std::vector<int> upper(static_cast<size_t>(2 + round % 19), 10 + round % 141);
    const std::vector<int> lower(static_cast<size_t>(20 - round % 19), 150 - round % 141);
    Regen(upper, round % 5, lower, (round + 2) % 5);
    MoveMouse(
        PointOnChart(round % 2 == 0 ? Upper() : Lower(), 7.0f * static_cast<float>(round), 0.5f));
    TickAfter(0.02f);
    PumpMessages();
  }
  done = true;
  reader.join();
  EXPECT_EQ("", problems);
  EXPECT_GT(names.load(), 0) << "the other thread read no slice's name";
}

TEST_F(AccessibilityTest, ElementsHeldAfterTheWindowIsGoneAnswerThatTheyAreGone) {
  const Element chart = Chart(0);
  const Element slice = Slice(0, 1);
  ASSERT_TRUE(chart && slice);
  const auto item = PatternOf<ISelectionItemProvider>(slice.Get(), UIA_SelectionItemPatternId);
  const auto selection = PatternOf<ISelectionProvider>(chart.Get(), UIA_SelectionPatternId);
  ASSERT_TRUE(item && selection);

  DestroyWindow(window_);
  window_ = nullptr;
  PumpMessages();
  EXPECT_FALSE(AccessibleRoot());

  const std::string gone = Hex(uia::ElementNotAvailable);
  for (const Element& element : {root_, chart, slice}) {
    HRESULT result = S_OK;
    PropertyOf(element.Get(), UIA_NamePropertyId, &result);
    EXPECT_EQ(gone, Hex(result));
    Element next;
    EXPECT_EQ(gone, Hex(element->Navigate(NavigateDirection_FirstChild, &next)));
    EXPECT_FALSE(next);
    UiaRect bounds{};
    EXPECT_EQ(gone, Hex(element->get_BoundingRectangle(&bounds)));
    SAFEARRAY* id = nullptr;
    EXPECT_EQ(gone, Hex(element->GetRuntimeId(&id)));
    EXPECT_EQ(nullptr, id);
  }
  Element found;
  EXPECT_EQ(gone, Hex(fragmentRoot_->ElementProviderFromPoint(100, 100, &found)));
  EXPECT_EQ(gone, Hex(item->Select()));
  SAFEARRAY* chosen = nullptr;
  EXPECT_EQ(gone, Hex(selection->GetSelection(&chosen)));
}

TEST_F(AccessibilityTest, TheFocusIsOnTheFocusedChartOrItsKeyboardSliceAndSetFocusMovesIt) {
  EXPECT_EQ((std::vector<std::string>{"children of root"}), startupEvents_)
      << "the charts' first appearance";
  EXPECT_EQ("", KeyboardFocusProblems("")) << "the window itself has the focus";

  ASSERT_EQ(S_OK, Chart(0)->SetFocus());
  EXPECT_EQ("", KeyboardFocusProblems("")) << "the request waits for the window's thread";
  PumpMessages();
  EXPECT_EQ("", KeyboardFocusProblems("UpperChart"));
  EXPECT_EQ(-1, Upper()->GetSelectedSlice()) << "focusing a chart moves no slice";
  EXPECT_EQ((std::vector<std::string>{"focus on UpperChart"}), events_.Take());

  SendMessageW(window_, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ("", KeyboardFocusProblems("UpperChart/Slice0"));
  EXPECT_EQ((std::vector<std::string>{"selected UpperChart/Slice0", "UpperChart/Slice0 is selected",
                                      "focus on UpperChart/Slice0"}),
            events_.Take());
  // The pointer's slice is selected, not focused: the focus goes back to its chart.
  MoveMouse(PointOnChart(Upper(), 135.0f, 0.6f));
  EXPECT_EQ("", KeyboardFocusProblems("UpperChart"));
  events_.Take();

  // SetFocus on a slice of the other chart does what Tab and the arrow keys would.
  ASSERT_EQ(S_OK, Slice(1, 2)->SetFocus());
  PumpMessages();
  EXPECT_EQ("", KeyboardFocusProblems("LowerChart/Slice2"));
  EXPECT_EQ(-1, Upper()->GetSelectedSlice());
  SendMessageW(window_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(2, Lower()->GetSelectedSlice()) << "the keyboard's slice stays when the pointer leaves";
  EXPECT_EQ(
      (std::vector<std::string>{"removed UpperChart/Slice1", "UpperChart/Slice1 is not selected",
                                "selected LowerChart/Slice2", "LowerChart/Slice2 is selected",
                                "focus on LowerChart/Slice2"}),
      events_.Take());

  // A control takes the focus: no element of the tree has it, and the slice goes back.
  SetFocus(GetDlgItem(window_, IdRegen));
  EXPECT_EQ("", KeyboardFocusProblems(""));
  EXPECT_EQ(-1, Lower()->GetSelectedSlice());
}

TEST_F(AccessibilityTest, WmGetObjectHandsTheRootToUiAutomationAndItsBridgeAndLetsItGo) {
  // The parameters as they came (Wine's lParam zero-extended, too): UI Automation wants them
  // unfiltered, and for OBJID_CLIENT answers Active Accessibility's clients through its bridge.
  const LPARAM asked[] = {uia::RootObjectId, OBJID_CLIENT,
                          static_cast<LPARAM>(static_cast<DWORD>(OBJID_CLIENT))};
  for (const LPARAM lParam : asked) {
    EXPECT_EQ(RecordedHost::kRootKey, SendMessageW(window_, WM_GETOBJECT, 7, lParam));
  }
  EXPECT_EQ(
      (std::vector<std::string>{"root for wParam 7, lParam -25", "root for wParam 7, lParam -4",
                                "root for wParam 7, lParam 4294967292"}),
      events_.Take());
  // Any other object is the system's.
  EXPECT_NE(RecordedHost::kRootKey, SendMessageW(window_, WM_GETOBJECT, 7, OBJID_WINDOW));
  EXPECT_TRUE(events_.Take().empty());

  DestroyWindow(window_);
  window_ = nullptr;
  PumpMessages();
  EXPECT_EQ((std::vector<std::string>{"released root"}), events_.Take());
}

TEST_F(AccessibilityTest, WhileNoClientListensNothingIsRaisedAndEachChangeAsksOnce) {
  events_.listening = false;
  events_.questions = 0;
  MoveMouse(PointOnChart(Upper(), 135.0f, 0.6f));             // a selection
  Regen({10, 20, 30}, 3, {50, 50}, 1);                        // new slices and names
  SendMessageW(GetDlgItem(window_, IdGray), BM_CLICK, 0, 0);  // a name
  Chart(1)->SetFocus();
  PumpMessages();  // the focus
  EXPECT_EQ(std::vector<std::string>{}, events_.Take());
  EXPECT_GE(events_.questions, 1);
  EXPECT_LE(events_.questions, 4) << "asked more than once for one change";

  // The system's own UI Automation, which under Wine never has a listener, takes all of it
  // without raising anything (some of Wine's raising functions end the process).
  App().Platform.automationHost = &SystemAutomationHost();
  SendMessageW(window_, WM_KEYDOWN, VK_END, 0);
  Regen({40, 40}, 2, {60, 60, 60}, 2);
  SendMessageW(GetDlgItem(window_, IdGray), BM_CLICK, 0, 0);
  Slice(0, 1)->SetFocus();
  PumpMessages();
  EXPECT_EQ(1, Upper()->GetSelectedSlice());
  EXPECT_EQ("UpperChart/Slice1", FocusedElement());
  DestroyWindow(window_);
  window_ = nullptr;
  PumpMessages();
  EXPECT_FALSE(AccessibleRoot());
}

// A tree published by hand, as no chart would make it: one slice of the whole pie, a slice held
// from values that have been replaced, and the focus on a slice.
TEST(HandMadeTree, AnswersAWholeSliceAStaleGenerationAndTheFocusFromItsSnapshot) {
  const auto tree = std::make_shared<AccessibleTree>(nullptr, TreeMessages{WM_APP + 1, WM_APP + 2});
  const orb::ComPtr<IRawElementProviderFragmentRoot> fragmentRoot = MakeRootElement(tree);
  Element root;
  ASSERT_TRUE(SUCCEEDED(fragmentRoot.As(&root)));
  TreeSnapshot snapshot;
  snapshot.pixelsPerDip = 1.25;
  snapshot.client = RECT{100, 50, 740, 725};
  ChartView chart;
  chart.automationId = L"UpperChart";
  chart.name = L"Upper chart: Fire";
  chart.generation = 7;
  chart.bounds = DipRect{30, 40, 370, 180};
  chart.selected = 0;
  chart.slices.push_back(SliceView{50.0f, 100.0, DipRect{30, 40, 370, 180}});
  snapshot.charts.push_back(chart);
  snapshot.focus = FocusView{0, 0};
  tree->Publish(std::make_shared<const TreeSnapshot>(snapshot));

  const Element upper = Navigate(root.Get(), NavigateDirection_FirstChild);
  ASSERT_TRUE(upper);
  const std::vector<Element> slices = ChildrenOf(upper.Get());
  ASSERT_EQ(1u, slices.size());
  const Element& whole = slices[0];
  EXPECT_EQ("Slice 1 of 1: 50 (100.0%)", NameOf(whole.Get()));
  UiaRect bounds{};
  whole->get_BoundingRectangle(&bounds);
  EXPECT_EQ((std::vector<double>{137.5, 100.0, 425.0, 175.0}),
            (std::vector<double>{bounds.left, bounds.top, bounds.width, bounds.height}));
  EXPECT_EQ(L"true", PropertyOf(whole.Get(), UIA_HasKeyboardFocusPropertyId));
  EXPECT_EQ(L"false", PropertyOf(upper.Get(), UIA_HasKeyboardFocusPropertyId));
  EXPECT_EQ(L"true", PropertyOf(whole.Get(), UIA_SelectionItemIsSelectedPropertyId));
  EXPECT_FALSE(Navigate(whole.Get(), NavigateDirection_NextSibling));
  Element focused;
  fragmentRoot->GetFocus(&focused);
  EXPECT_EQ(RuntimeIdOf(whole.Get()), focused ? RuntimeIdOf(focused.Get()) : std::vector<int>{});

  // A slice of an earlier list is gone, and so is every way from it.
  const std::string gone = Hex(uia::ElementNotAvailable);
  const Element stale = MakeSliceElement(tree, 0, 6, 0);
  for (const NavigateDirection direction :
       {NavigateDirection_Parent, NavigateDirection_NextSibling, NavigateDirection_FirstChild}) {
    Element next;
    EXPECT_EQ(gone, Hex(stale->Navigate(direction, &next))) << "direction " << direction;
    EXPECT_FALSE(next);
  }
  // The next list replaces the slices; their chart stays.
  snapshot.charts[0].generation = 8;
  tree->Publish(std::make_shared<const TreeSnapshot>(snapshot));
  HRESULT result = S_OK;
  PropertyOf(whole.Get(), UIA_NamePropertyId, &result);
  EXPECT_EQ(gone, Hex(result));
  EXPECT_EQ("Upper chart: Fire", NameOf(upper.Get()));
  tree->Disconnect();
}

// Sets the system's "Show animations in Windows" for as long as it lives, and back to what it
// was whatever happens: the setting holds for every program of the Wine prefix. Written to the
// user's profile as the system's settings do: Wine tells the windows of a change only then.
class AnimationSetting {
 public:
  explicit AnimationSetting(bool animate) : changed_(Set(animate)) {}
  ~AnimationSetting() { Set(before_); }
  AnimationSetting(const AnimationSetting&) = delete;
  AnimationSetting& operator=(const AnimationSetting&) = delete;
  bool Changed() const { return changed_; }

 private:
  // The value travels in the pointer argument itself.
  static bool Set(bool animate) {
    return SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0,
                                 reinterpret_cast<PVOID>(static_cast<UINT_PTR>(animate)),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
  }

  const bool before_ = ReadClientAreaAnimation();
  const bool changed_;
};

TEST_F(AccessibilityTest, WithAnimationsOffASelectedSliceIsOutAtOnceAndNoTimerRuns) {
  // The lower chart's slice 1 of 3 (120 to 240 degrees) moves straight up; fully out it covers
  // the point 134 units above the centre, where before it moves only the background lies.
  const POINT beyondRim{std::lround(Lower()->GetCenterX() * PixelsPerDip()),
                        std::lround((Lower()->GetCenterY() - 134.0f) * PixelsPerDip())};
  const auto firstFrame = [&] {
    UpdateWindow(window_);
    return ClientShot::OfWindowDc(window_).At(beyondRim.x, beyondRim.y);
  };
  ASSERT_EQ(Background, firstFrame());
  {
    const AnimationSetting off(false);
    ASSERT_TRUE(off.Changed());
    ASSERT_FALSE(ReadClientAreaAnimation()) << "the setting did not change";
    ASSERT_FALSE(App().ClientAreaAnimation) << "the window did not hear of the change";
    MoveMouse(PointOnChart(Lower(), 180.0f, 0.5f));
    ASSERT_EQ(1, Lower()->GetSelectedSlice());
    EXPECT_EQ(20, Lower()->GetExplodeOffset());
    EXPECT_NE(Background, firstFrame()) << "the first frame does not show the slice fully out";
    EXPECT_FALSE(StopTimer()) << "a timer runs for a slice that is out at once";
    MoveMouse(PointOnChart(Lower(), 180.0f, 1.5f));
    ASSERT_EQ(-1, Lower()->GetSelectedSlice());
  }
  ASSERT_TRUE(App().ClientAreaAnimation) << "the window did not hear of the setting's return";

  // With animations on, as before: the first frame shows the slice in its place, the timer runs.
  MoveMouse(PointOnChart(Lower(), 180.0f, 0.5f));
  EXPECT_EQ(0, Lower()->GetExplodeOffset());
  EXPECT_EQ(Background, firstFrame());
  EXPECT_TRUE(StopTimer());
  TickAfter(0.1f);
  EXPECT_NE(Background, firstFrame());
}

// What is wrong with the tree read: each chart named after its palette in the caption, 2 to 20
// slices named in order, their shares adding up to 100 % within rounding.
std::string TreeProblems(const TreeRead& read) {
  if (!read.failure.empty()) return read.failure;
  std::wsmatch caption;
  if (!std::regex_match(read.caption, caption, std::wregex(LR"(D2 Pie: (.+), (.+))"))) {
    return "the caption is \"" + Narrow(read.caption) + "\"";
  }
  std::ostringstream problems;
  const std::wstring palettes[] = {caption[1].str(), caption[2].str()};
  const std::wstring expected[] = {L"Upper chart: " + palettes[0], L"Lower chart: " + palettes[1]};
  const std::wregex pattern(kSliceName);
  for (size_t c = 0; c < 2; ++c) {
    const ChartRead& chart = read.charts[c];
    if (chart.name != expected[c] && chart.name != expected[c] + L" (gray)") {
      problems << Narrow(chart.id) << " is named \"" << Narrow(chart.name) << "\", not after \""
               << Narrow(palettes[c]) << "\"; ";
    }
    const size_t count = chart.slices.size();
    if (count < 2 || count > 20) problems << Narrow(chart.id) << " has " << count << " slices; ";
    double shares = 0.0;
    for (size_t i = 0; i < count; ++i) {
      std::wsmatch parts;
      if (!std::regex_match(chart.slices[i], parts, pattern) ||
          std::stoul(parts[1].str()) != i + 1 || std::stoul(parts[2].str()) != count ||
          std::stoi(parts[3].str()) < 10 || std::stoi(parts[3].str()) > 150) {
        problems << Narrow(chart.id) << "'s slice " << i << " is \"" << Narrow(chart.slices[i])
                 << "\"; ";
        continue;
      }
      shares += std::stod(parts[4].str());
    }
    if (std::fabs(shares - 100.0) > 0.05 * static_cast<double>(count) + 1e-6) {
      problems << Narrow(chart.id) << "'s shares add up to " << shares << " %; ";
    }
  }
  return problems.str();
}

TEST(AccessibleProgram, AnotherProcessReadsBothChartsAndEverySliceAndTheirChangeOnRegen) {
  const UiaClient client;
  ASSERT_TRUE(client.Complete()) << "uiautomationcore.dll lacks a client function";
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  SetCursorPos(0, 0);  // away from the window, which would otherwise select a slice
  for (int attempt = 1; attempt <= 2; ++attempt) {
    ProgramProcess program({});
    const HWND window = program.Window();
    ASSERT_TRUE(window) << program.Failure();

    TreeRead before, after;
    bool readBefore = false, readAfter = false, deadlocked = false;
    {
      const Watchdog watchdog(program.Handle(), kComDeadlockDeadlineMs);
      readBefore = ReadTreeUntil(client, window, before);
      if (readBefore) {
        SendMessageW(GetDlgItem(window, IdRegen), BM_CLICK, 0, 0);
        readAfter = ReadTreeUntil(client, window, after, &before);
      }
      deadlocked = watchdog.Fired();
    }
    if (deadlocked && attempt == 1) {
      std::printf("Wine's COM stopped answering within 60 s; the program was ended, once more\n");
      continue;
    }
    ASSERT_FALSE(deadlocked) << "Wine's COM stopped answering within 60 s, twice";
    ASSERT_TRUE(readBefore) << "the tree could not be read within 20 s: " << Describe(before);
    EXPECT_EQ("", TreeProblems(before)) << Describe(before);
    std::printf("The program's tree as another process reads it: %s\n", Describe(before).c_str());
    EXPECT_TRUE(readAfter) << "the slices' names did not change after \"Regen\": "
                           << Describe(after);
    EXPECT_EQ("", TreeProblems(after)) << Describe(after);
    EXPECT_EQ(0, program.Close());
    break;
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace
}  // namespace apptest
