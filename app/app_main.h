#pragma once
// The main routine: the main window, its controls, the drawing objects and the message loop.

#include <windows.h>

#include "app/app_state.h"

// Exit codes of the process.
constexpr int ExitNormal = 0;
constexpr int ExitStartupFailed = 1;

// Everything before the message loop: the window (not yet shown), its two controls and the
// drawing objects. False when the window object, the window, the factory or the helper cannot
// be made; the window is then never shown.
bool StartApp(const AppPlatform& platform);

// StartApp, then the message loop with showCommand, then the release of every object.
int RunMain(const AppPlatform& platform, int showCommand);
