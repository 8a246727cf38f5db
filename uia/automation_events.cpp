#include "uia/automation_events.h"

#include "uia/uia_core.h"

namespace {

class SystemEvents final : public AutomationEvents {
 public:
  bool ClientsListening() override {
    const auto listening = UiaCore().clientsAreListening;
    return listening != nullptr && listening() != FALSE;
  }

  void ElementSelected(IRawElementProviderSimple* element) override {
    const auto raise = UiaCore().raiseAutomationEvent;
    if (raise != nullptr && ClientsListening()) {
      raise(element, UIA_SelectionItem_ElementSelectedEventId);
    }
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
    const auto raise = UiaCore().raiseAutomationPropertyChangedEvent;
    if (raise == nullptr || !ClientsListening()) return;
    VARIANT old;
    VARIANT now;
    old.vt = now.vt = VT_BSTR;
    old.bstrVal = SysAllocStringLen(before.data(), static_cast<UINT>(before.size()));
    now.bstrVal = SysAllocStringLen(after.data(), static_cast<UINT>(after.size()));
    if (old.bstrVal != nullptr && now.bstrVal != nullptr) {
      raise(element, UIA_NamePropertyId, old, now);
    }
    SysFreeString(old.bstrVal);
    SysFreeString(now.bstrVal);
  }
};

}  // namespace

AutomationEvents& SystemAutomationEvents() {
  static SystemEvents events;
  return events;
}
