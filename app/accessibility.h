#pragma once
// What a screen reader gets of the charts: the UI Automation tree of the main window's client
// area (uia/), fed by the window's thread, which alone touches the charts. The tree observes:
// after anything that may have changed what the charts show, the window's thread renews it, and
// a new snapshot replaces the tree's when something did change, with the events of the change.

#include <windows.h>

#include "uia/automation_api.h"

// Makes the tree of window (at WM_CREATE); it answers from the first moment.
void StartAccessibleTree(HWND window);

// The answer to WM_GETOBJECT: the tree's root for UI Automation (UiaRootObjectId) and, through
// UI Automation's bridge, for Microsoft Active Accessibility's clients (OBJID_CLIENT); the
// default answer for every other object.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

// A new snapshot when what the charts show has changed since the last one, and the events of the
// change while clients listen.
void RenewAccessibleTree();

// The window is going (WM_DESTROY): every element answers from now on that it is gone, and the
// system lets go of the root.
void StopAccessibleTree(HWND window);

// The root element that WM_GETOBJECT hands out; empty while there is no window.
orb::ComPtr<IRawElementProviderSimple> AccessibleRoot();
