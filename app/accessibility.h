#pragma once
// What a screen reader gets of the charts: the UI Automation tree of the main window's client
// area (uia/), fed from the charts by the window's thread, which alone touches them. After every
// message that changed what the charts show, a new snapshot replaces the tree's, and the events
// that the change makes are raised.

#include <windows.h>

#include <vector>

#include "chart/ipie_chart.h"
#include "uia/automation_api.h"

// The message by which the tree's elements ask the window's thread to select a slice or put it
// back (uia/accessible_tree.h packs it).
constexpr UINT SelectionRequestMessage = WM_APP + 1;

// The main window's procedure with the tree around MainWindowProc: it makes the tree with the
// window, reads the system's animation setting then and when it changes, answers WM_GETOBJECT
// and the elements' requests, renews the tree after every message and disconnects it when the
// window is destroyed.
LRESULT CALLBACK AccessibleMainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the tree the values that chart was just given: the charts keep them to themselves.
void NoteChartValues(IPieChart* chart, const std::vector<float>& values);

// The root element that WM_GETOBJECT hands to UI Automation; empty while there is no window.
orb::ComPtr<IRawElementProviderSimple> AccessibleRoot();
