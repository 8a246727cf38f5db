#include "uia/automation_host.h"

#include "uia/uia_core.h"

namespace {

// A VARIANT that frees its string.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  static void Text(Variant& variant, const std::wstring& text) {
    variant.value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (variant.value_.bstrVal != nullptr) variant.value_.vt = VT_BSTR;
  }
  static void Flag(Variant& variant, bool flag) {
    variant.value_.vt = VT_BOOL;
    variant.value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  }
  bool Empty() const { return value_.vt == VT_EMPTY; }
  const VARIANT& Get() const { return value_; }

 private:
  VARIANT value_;
};

class SystemHost final : public AutomationHost {
 public:
  LRESULT ReturnRoot(HWND window, WPARAM wParam, LPARAM lParam,
                     IRawElementProviderSimple* root) override {
    const auto answer = UiaCore().returnRawElementProvider;
    if (answer == nullptr) return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
    return answer(window, wParam, lParam, root);
  }

  void ReleaseRoot(HWND window, IRawElementProviderSimple* root) override {
    if (const auto disconnect = UiaCore().disconnectProvider) disconnect(root);
    if (const auto answer = UiaCore().returnRawElementProvider) answer(window, 0, 0, nullptr);
  }

  bool ClientsListening() override {
    const auto listening = UiaCore().clientsAreListening;
    return listening != nullptr && listening() != FALSE;
  }

  void ElementSelected(IRawElementProviderSimple* element) override {
    Raise(element, UIA_SelectionItem_ElementSelectedEventId);
  }

  void ElementRemovedFromSelection(IRawElementProviderSimple* element) override {
    Raise(element, UIA_SelectionItem_ElementRemovedFromSelectionEventId);
  }

  void IsSelectedChanged(IRawElementProviderSimple* element, bool selected) override {
    Variant before;
    Variant after;
    Variant::Flag(before, !selected);
    Variant::Flag(after, selected);
    RaiseChange(element, UIA_SelectionItemIsSelectedPropertyId, before, after);
  }

  void ChildrenInvalidated(IRawElementProviderSimple* element) override {
    const auto raise = UiaCore().raiseStructureChangedEvent;
    // The runtime id is only given for a removed child.
    if (raise != nullptr && ClientsListening()) {
      raise(element, uia::ChildrenInvalidated, nullptr, 0);
    }
  }

  void NameChanged(IRawElementProviderSimple* element, const std::wstring& before,
                   const std::wstring& after) override {
    Variant old;
    Variant now;
    Variant::Text(old, before);
    Variant::Text(now, after);
    if (!old.Empty() && !now.Empty()) RaiseChange(element, UIA_NamePropertyId, old, now);
  }

  void FocusChanged(IRawElementProviderSimple* element) override {
    Raise(element, UIA_AutomationFocusChangedEventId);
  }

 private:
  void Raise(IRawElementProviderSimple* element, EVENTID event) {
    const auto raise = UiaCore().raiseAutomationEvent;
    if (raise != nullptr && ClientsListening()) raise(element, event);
  }

  void RaiseChange(IRawElementProviderSimple* element, PROPERTYID property, const Variant& before,
                   const Variant& after) {
    const auto raise = UiaCore().raiseAutomationPropertyChangedEvent;
    if (raise != nullptr && ClientsListening()) raise(element, property, before.Get(), after.Get());
  }
};

}  // namespace

AutomationHost& SystemAutomationHost() {
  static SystemHost host;
  return host;
}
