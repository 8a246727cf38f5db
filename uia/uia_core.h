#pragma once
// The functions of uiautomationcore.dll that the provider calls, looked up at run time: mingw-w64
// has no import library for it, and a system without it should still run the program. Wine 8
// exports some of its functions as stubs that end the process when called; only those listed
// here are ever called, and the raising functions only while a client listens.

#include "uia/automation_api.h"

struct UiaCoreFunctions {
  LRESULT(WINAPI* returnRawElementProvider)
  (HWND window, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple* provider) = nullptr;
  HRESULT(WINAPI* hostProviderFromHwnd)
  (HWND window, IRawElementProviderSimple** provider) = nullptr;
  BOOL(WINAPI* clientsAreListening)() = nullptr;
  HRESULT(WINAPI* raiseAutomationEvent)(IRawElementProviderSimple* provider, EVENTID id) = nullptr;
  HRESULT(WINAPI* raiseAutomationPropertyChangedEvent)
  (IRawElementProviderSimple* provider, PROPERTYID id, VARIANT before, VARIANT after) = nullptr;
  HRESULT(WINAPI* raiseStructureChangedEvent)
  (IRawElementProviderSimple* provider, int changeType, int* runtimeId, int length) = nullptr;
  HRESULT(WINAPI* disconnectProvider)(IRawElementProviderSimple* provider) = nullptr;
};

// Loads uiautomationcore.dll from the system folder and looks the functions up, once per process
// and safely from any thread. Entries the system lacks stay null.
const UiaCoreFunctions& UiaCore();
