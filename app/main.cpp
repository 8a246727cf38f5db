// Process start: COM around the main routine, the show command from the start-up information.

#include <windows.h>
#include <objbase.h>

#include "app/app_main.h"
#include "chart/time_of_day.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  const int showCommand =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;

  const HRESULT com = CoInitialize(nullptr);
  SeededRandomSource random(static_cast<std::uint32_t>(LocalTimeOfDay() * 1000.0f));
  const int exitCode = RunMain(DefaultPlatform(random), showCommand);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
