#pragma once
// Where the tree's events go: to UI Automation's clients, or to a test that records them.

#include <string>

#include "uia/automation_api.h"

class AutomationEvents {
 public:
  virtual ~AutomationEvents() = default;
  // Whether any client listens; elements for events are only made while one does.
  virtual bool ClientsListening() = 0;
  // A slice became the selected one.
  virtual void ElementSelected(IRawElementProviderSimple* element) = 0;
  // The element's children were replaced.
  virtual void ChildrenInvalidated(IRawElementProviderSimple* element) = 0;
  virtual void NameChanged(IRawElementProviderSimple* element, const std::wstring& before,
                           const std::wstring& after) = 0;
};

// The system's UI Automation: raises each event only while UiaClientsAreListening says that a
// client listens (under Wine 8 never; there some raising functions end the process).
AutomationEvents& SystemAutomationEvents();
