#pragma once
// Where the tree meets the system's UI Automation: handing the root to a client that asks for
// it, letting it go with the window, and raising events. Tests put a recorder in its place.

#include <string>

#include "uia/automation_api.h"

class AutomationHost {
 public:
  virtual ~AutomationHost() = default;
  // The answer to WM_GETOBJECT, given its parameters as they came and the root.
  virtual LRESULT ReturnRoot(HWND window, WPARAM wParam, LPARAM lParam,
                             IRawElementProviderSimple* root) = 0;
  // The window is going: the system lets go of the root and of what it raised events for.
  virtual void ReleaseRoot(HWND window, IRawElementProviderSimple* root) = 0;
  // Whether any client listens; elements for events are only made while one does.
  virtual bool ClientsListening() = 0;
  // A slice became the selected one, or went back and left its chart's selection empty.
  virtual void ElementSelected(IRawElementProviderSimple* element) = 0;
  virtual void ElementRemovedFromSelection(IRawElementProviderSimple* element) = 0;
  virtual void IsSelectedChanged(IRawElementProviderSimple* element, bool selected) = 0;
  // The element's children were replaced.
  virtual void ChildrenInvalidated(IRawElementProviderSimple* element) = 0;
  virtual void NameChanged(IRawElementProviderSimple* element, const std::wstring& before,
                           const std::wstring& after) = 0;
  // The element took the keyboard focus.
  virtual void FocusChanged(IRawElementProviderSimple* element) = 0;
};

// The system's UI Automation: raises each event only while UiaClientsAreListening says that a
// client listens (under Wine 8 never; there some raising functions end the process).
AutomationHost& SystemAutomationHost();
