// The root of the tree: the main window's client area, hosted by the window's own element, which
// gives it its name (the caption) and type. Its children are the two charts.

#include <cmath>

#include "uia/element_base.h"
#include "uia/elements.h"
#include "uia/uia_core.h"

namespace {

class RootElement final : public TreeElement<IRawElementProviderFragmentRoot> {
 public:
  explicit RootElement(std::shared_ptr<AccessibleTree> tree) : TreeElement(std::move(tree)) {}

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
    if (pattern == nullptr) return E_INVALIDARG;
    *pattern = nullptr;
    return tree_->Current() ? S_OK : uia::ElementNotAvailable;
  }
  // Everything comes from the window's own element.
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID, VARIANT* value) override {
    if (value == nullptr) return E_INVALIDARG;
    VariantInit(value);
    return tree_->Current() ? S_OK : uia::ElementNotAvailable;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    if (host == nullptr) return E_INVALIDARG;
    *host = nullptr;
    if (!tree_->Current()) return uia::ElementNotAvailable;
    const auto hostFromWindow = UiaCore().hostProviderFromHwnd;
    return hostFromWindow != nullptr ? hostFromWindow(tree_->Window(), host) : S_OK;
  }

  // IRawElementProviderFragment
  // The window's own element takes the focus for the client area.
  HRESULT STDMETHODCALLTYPE SetFocus() override {
    return tree_->Current() ? S_OK : uia::ElementNotAvailable;
  }
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                     IRawElementProviderFragment** element) override {
    if (element == nullptr) return E_INVALIDARG;
    *element = nullptr;
    const std::shared_ptr<const TreeSnapshot> snapshot = tree_->Current();
    if (!snapshot) return uia::ElementNotAvailable;
    const int charts = static_cast<int>(snapshot->charts.size());
    if (charts == 0) return S_OK;
    if (direction == NavigateDirection_FirstChild) {
      *element = MakeChartElement(tree_, 0).Detach();
    } else if (direction == NavigateDirection_LastChild) {
      *element = MakeChartElement(tree_, charts - 1).Detach();
    }
    return S_OK;  // the window's own element knows the root's parent and siblings
  }
  // The system names the root after its window.
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    if (id == nullptr) return E_INVALIDARG;
    *id = nullptr;
    return tree_->Current() ? S_OK : uia::ElementNotAvailable;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* bounds) override {
    if (bounds == nullptr) return E_INVALIDARG;
    *bounds = UiaRect{};
    const std::shared_ptr<const TreeSnapshot> snapshot = tree_->Current();
    if (!snapshot) return uia::ElementNotAvailable;
    const RECT& client = snapshot->client;
    *bounds = UiaRect{static_cast<double>(client.left), static_cast<double>(client.top),
                      static_cast<double>(client.right - client.left),
                      static_cast<double>(client.bottom - client.top)};
    return S_OK;
  }

  // IRawElementProviderFragmentRoot
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(
      double x, double y, IRawElementProviderFragment** element) override {
    if (element == nullptr) return E_INVALIDARG;
    *element = nullptr;
    const std::shared_ptr<const TreeSnapshot> snapshot = tree_->Current();
    if (!snapshot) return uia::ElementNotAvailable;
    const RECT& client = snapshot->client;
    if (x < client.left || y < client.top || x >= client.right || y >= client.bottom) return S_OK;
    // Only the charts' own hit test knows which slice is drawn where.
    const PointAnswer answer =
        tree_->WhatIsAt(static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(y)));
    if (answer.chart >= 0) {
      *element = ElementOf(tree_, answer.chart, answer.generation, answer.slice).Detach();
      return S_OK;
    }
    AddRef();
    *element = this;
    return S_OK;
  }
  // The focused chart or slice; nothing while the focus is elsewhere.
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** element) override {
    if (element == nullptr) return E_INVALIDARG;
    *element = nullptr;
    const std::shared_ptr<const TreeSnapshot> snapshot = tree_->Current();
    if (!snapshot) return uia::ElementNotAvailable;
    const FocusView& focus = snapshot->focus;
    const ChartView* chart = ChartOf(*snapshot, focus.chart);
    if (chart != nullptr) {
      *element = ElementOf(tree_, focus.chart, chart->generation, focus.slice).Detach();
    }
    return S_OK;
  }
};

}  // namespace

orb::ComPtr<IRawElementProviderFragmentRoot> MakeRootElement(
    const std::shared_ptr<AccessibleTree>& tree) {
  const auto root = orb::MakeComObject<RootElement>(tree);
  tree->SetRoot(root.Get());
  return root;
}
