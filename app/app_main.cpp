#include "app/app_main.h"

#include "app/app_objects.h"
#include "app/chart_layout.h"
#include "app/contrast_theme.h"
#include "app/keyboard_focus.h"
#include "app/main_window_proc.h"
#include "chart/time_of_day.h"
#include "window/cwindow.h"

bool StartApp(const AppPlatform& platform) {
  AppState& app = App();
  app.Platform = platform;
  if (!app.Platform.clock) app.Platform.clock = LocalTimeOfDay;
  // For systems that read neither DPI setting of the manifest; once the manifest has set the
  // awareness this changes nothing.
  if (OsVersionNumber() >= 6.0f) SetProcessDPIAware();

  if (FAILED(platform.newWindow(&app.MainWindow)) || !app.MainWindow) return false;
  IWindow& window = *app.MainWindow.Get();
  if (!window.CreateHostWindow(nullptr, L"Direct 2D Pie Chart Demo", 0, 0, 0, 0, 0, 0,
                               MainWindowProc, false)) {
    return false;
  }
  // The window takes the DPI of the monitor it opens on, which may differ from the screen's that
  // the object started with: the font, the client area and the controls are made at that scale.
  const FLOAT dpi = window.QueryWindowDpi();
  if (dpi != window.GetDpi()) {
    window.SetDpi(dpi);
    window.RebuildFont();
  }
  window.ResizeClientArea(512, 540);
  window.CentreWindow(nullptr, nullptr);
  const HWND handle = window.GetWindowHandle();
  // Both controls lead on to the charts, which are tab stops too.
  window.AddPushButton(handle, RegenPlace.id, L"Regen", RegenPlace.x, RegenPlace.y,
                       RegenPlace.width, RegenPlace.height, 0, 0, TabStopControlProc, false);
  window.AddAutoCheckBox(handle, GrayPlace.id, L"Gray", GrayPlace.x, GrayPlace.y, GrayPlace.width,
                         GrayPlace.height, 0, 0, TabStopControlProc, false);
  CheckRadioButton(handle, IdGray, IdGray, IdGray);
  if (CreateAppObjects()) {
    // The colours read with the window, given to the charts now that they exist.
    ApplyChartColours(nullptr, app.Colours);
    // Centred from the first frame, whether or not showing the window sends WM_SIZE.
    RECT client{};
    GetClientRect(handle, &client);
    ResizeCharts(static_cast<UINT>(client.right), static_cast<UINT>(client.bottom));
    return true;
  }
  // The window was never shown; it goes without a trace, and so does the quit its
  // destruction posts, which would end the next message loop of this thread at once.
  DestroyWindow(handle);
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  return false;
}

int RunMain(const AppPlatform& platform, int showCommand) {
  int exitCode = ExitStartupFailed;
  if (StartApp(platform)) {
    App().MainWindow->RunMessageLoop(showCommand);
    exitCode = ExitNormal;
  }
  ReleaseAppObjects();
  return exitCode;
}
