// A slice as a ListItem of its chart, with the SelectionItem pattern. Selecting and focusing go
// to the window's thread as posted requests.

#include <windows.h>
#include <strsafe.h>

#include "uia/element_base.h"
#include "uia/elements.h"

namespace {

class SliceElement final : public TreeElement<ISelectionItemProvider> {
 public:
  SliceElement(std::shared_ptr<AccessibleTree> tree, int chart, UINT32 generation, int slice)
      : TreeElement(std::move(tree)), chart_(chart), generation_(generation), slice_(slice) {}

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override {
    return OfferPattern(Find().view != nullptr, pattern, UIA_SelectionItemPatternId,
                        static_cast<ISelectionItemProvider*>(this), provider);
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
    if (value == nullptr) return E_INVALIDARG;
    VariantInit(value);
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    if (property == UIA_SelectionItemIsSelectedPropertyId) {
      return BoolAnswer(found.chart->selected == slice_, value);
    }
    ShortText id{};
    StringCchPrintfW(id.data(), id.size(), L"Slice%d", slice_);
    const FocusView& focus = found.snapshot->focus;
    return ItemPropertyAnswer(property, UIA_ListItemControlTypeId,
                              SliceName(*found.chart, static_cast<size_t>(slice_)).data(),
                              id.data(), focus.chart == chart_ && focus.slice == slice_, value);
  }

  // IRawElementProviderFragment
  // What Tab and the arrow keys do: the chart takes the keyboard focus and this slice moves out.
  HRESULT STDMETHODCALLTYPE SetFocus() override {
    if (!Find().view) return uia::ElementNotAvailable;
    return Ask(AutomationRequest::Kind::Focus);
  }
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                     IRawElementProviderFragment** element) override {
    if (element == nullptr) return E_INVALIDARG;
    *element = nullptr;
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    const int slices = static_cast<int>(found.chart->slices.size());
    switch (direction) {
      case NavigateDirection_Parent:
        *element = MakeChartElement(tree_, chart_).Detach();
        return S_OK;
      case NavigateDirection_NextSibling:
        if (slice_ + 1 < slices) {
          *element = MakeSliceElement(tree_, chart_, generation_, slice_ + 1).Detach();
        }
        return S_OK;
      case NavigateDirection_PreviousSibling:
        if (slice_ > 0)
          *element = MakeSliceElement(tree_, chart_, generation_, slice_ - 1).Detach();
        return S_OK;
      case NavigateDirection_FirstChild:
      case NavigateDirection_LastChild:
        return S_OK;  // a slice has no children
      default:
        return E_INVALIDARG;
    }
  }
  // Changes with "Regen": the new slices are other elements.
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    if (id == nullptr) return E_INVALIDARG;
    *id = nullptr;
    if (!Find().view) return uia::ElementNotAvailable;
    return RuntimeIdAnswer(
        {uia::AppendRuntimeId, chart_ + 1, static_cast<int>(generation_), slice_ + 1}, id);
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* bounds) override {
    if (bounds == nullptr) return E_INVALIDARG;
    *bounds = UiaRect{};
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    return RectAnswer(*found.snapshot, found.view->bounds, bounds);
  }

  // ISelectionItemProvider
  HRESULT STDMETHODCALLTYPE Select() override {
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    if (found.chart->selected == slice_) return S_OK;
    return Ask(AutomationRequest::Kind::Select);
  }
  // One slice at most is selected: adding is selecting while nothing else is.
  HRESULT STDMETHODCALLTYPE AddToSelection() override {
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    if (found.chart->selected == slice_) return S_OK;
    return found.chart->selected < 0 ? Ask(AutomationRequest::Kind::Select) : uia::InvalidOperation;
  }
  // What the pointer leaving the pie does: the slice goes back.
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override {
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    return found.chart->selected == slice_ ? Ask(AutomationRequest::Kind::PutBack) : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* isSelected) override {
    if (isSelected == nullptr) return E_INVALIDARG;
    *isSelected = FALSE;
    const Found found = Find();
    if (!found.view) return uia::ElementNotAvailable;
    *isSelected = found.chart->selected == slice_ ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** container) override {
    if (container == nullptr) return E_INVALIDARG;
    *container = nullptr;
    if (!Find().view) return uia::ElementNotAvailable;
    const orb::ComPtr<IRawElementProviderFragment> chart = MakeChartElement(tree_, chart_);
    return chart ? chart->QueryInterface(IID_PPV_ARGS(container)) : E_OUTOFMEMORY;
  }

 private:
  struct Found {
    std::shared_ptr<const TreeSnapshot> snapshot;
    const ChartView* chart = nullptr;
    const SliceView* view = nullptr;
  };

  Found Find() const {
    Found found{tree_->Current()};
    if (found.snapshot) {
      found.chart = ChartOf(*found.snapshot, chart_);
      found.view = SliceOf(*found.snapshot, chart_, generation_, slice_);
    }
    return found;
  }

  HRESULT Ask(AutomationRequest::Kind kind) const {
    return tree_->Request(AutomationRequest{kind, chart_, generation_, slice_})
               ? S_OK
               : uia::ElementNotAvailable;
  }

  const int chart_;
  const UINT32 generation_;
  const int slice_;
};

}  // namespace

orb::ComPtr<IRawElementProviderFragment> MakeSliceElement(
    const std::shared_ptr<AccessibleTree>& tree, int chart, UINT32 generation, int slice) {
  return orb::MakeComObject<SliceElement>(tree, chart, generation, slice);
}
