// A chart as a List of its slices, with the Selection pattern: at most one slice selected, and
// none is required.

#include "uia/element_base.h"
#include "uia/elements.h"

namespace {

class ChartElement final : public TreeElement<ISelectionProvider> {
 public:
  ChartElement(std::shared_ptr<AccessibleTree> tree, int chart)
      : TreeElement(std::move(tree)), chart_(chart) {}

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override {
    return OfferPattern(Find().view != nullptr, pattern, UIA_SelectionPatternId,
                        static_cast<ISelectionProvider*>(this), provider);
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
    if (value == nullptr) return E_INVALIDARG;
    VariantInit(value);
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    const FocusView& focus = found.snapshot->focus;
    return ItemPropertyAnswer(property, UIA_ListControlTypeId, found.view->name.c_str(),
                              found.view->automationId, focus.chart == chart_ && focus.slice < 0,
                              value);
  }

  // IRawElementProviderFragment
  // What Tab does: the chart takes the keyboard focus.
  HRESULT STDMETHODCALLTYPE SetFocus() override {
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    const AutomationRequest focus{AutomationRequest::Kind::Focus, chart_, found.view->generation,
                                  -1};
    return tree_->Request(focus) ? S_OK : uia::ElementNotAvailable;
  }
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                     IRawElementProviderFragment** element) override {
    if (element == nullptr) return E_INVALIDARG;
    *element = nullptr;
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    const int charts = static_cast<int>(found.snapshot->charts.size());
    const int slices = static_cast<int>(found.view->slices.size());
    const UINT32 generation = found.view->generation;
    switch (direction) {
      case NavigateDirection_Parent: {
        const orb::ComPtr<IRawElementProviderFragmentRoot> root = tree_->Root();
        return root ? root->QueryInterface(IID_PPV_ARGS(element)) : uia::ElementNotAvailable;
      }
      case NavigateDirection_NextSibling:
        if (chart_ + 1 < charts) *element = MakeChartElement(tree_, chart_ + 1).Detach();
        return S_OK;
      case NavigateDirection_PreviousSibling:
        if (chart_ > 0) *element = MakeChartElement(tree_, chart_ - 1).Detach();
        return S_OK;
      case NavigateDirection_FirstChild:
        if (slices > 0) *element = MakeSliceElement(tree_, chart_, generation, 0).Detach();
        return S_OK;
      case NavigateDirection_LastChild:
        if (slices > 0) {
          *element = MakeSliceElement(tree_, chart_, generation, slices - 1).Detach();
        }
        return S_OK;
      default:
        return E_INVALIDARG;
    }
  }
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    if (id == nullptr) return E_INVALIDARG;
    *id = nullptr;
    if (!Find().view) return uia::ElementNotAvailable;
    return RuntimeIdAnswer({uia::AppendRuntimeId, chart_ + 1}, id);
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* bounds) override {
    if (bounds == nullptr) return E_INVALIDARG;
    *bounds = UiaRect{};
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    return RectAnswer(*found.snapshot, found.view->bounds, bounds);
  }

  // ISelectionProvider
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) override {
    if (selection == nullptr) return E_INVALIDARG;
    *selection = nullptr;
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    const bool any = found.view->selected >= 0;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, any ? 1 : 0);
    if (array == nullptr) return E_OUTOFMEMORY;
    if (any) {
      const orb::ComPtr<IRawElementProviderFragment> slice =
          MakeSliceElement(tree_, chart_, found.view->generation, found.view->selected);
      orb::ComPtr<IRawElementProviderSimple> simple;
      LONG index = 0;
      const HRESULT result = slice ? slice.As(&simple) : E_OUTOFMEMORY;
      const HRESULT put =
          SUCCEEDED(result) ? SafeArrayPutElement(array, &index, simple.Get()) : result;
      if (FAILED(put)) {
        SafeArrayDestroy(array);
        return put;
      }
    }
    *selection = array;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* canSelectMultiple) override {
    return AnswerFlag(canSelectMultiple, false);
  }
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* isSelectionRequired) override {
    return AnswerFlag(isSelectionRequired, false);
  }

 private:
  struct Found {
    std::shared_ptr<const TreeSnapshot> snapshot;
    const ChartView* view = nullptr;
  };

  Found Find() const {
    Found found{tree_->Current()};
    if (found.snapshot) found.view = ChartOf(*found.snapshot, chart_);
    return found;
  }

  HRESULT AnswerFlag(BOOL* flag, bool value) const {
    if (flag == nullptr) return E_INVALIDARG;
    *flag = value ? TRUE : FALSE;
    return Find().view ? S_OK : uia::ElementNotAvailable;
  }

  const int chart_;
};

}  // namespace

orb::ComPtr<IRawElementProviderFragment> MakeChartElement(
    const std::shared_ptr<AccessibleTree>& tree, int chart) {
  return orb::MakeComObject<ChartElement>(tree, chart);
}
