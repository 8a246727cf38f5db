#include "app/app_main.h"

#include "app/app_objects.h"
#include "app/main_window_proc.h"
#include "chart/time_of_day.h"
#include "window/cwindow.h"

bool StartApp(const AppPlatform& platform) {
  AppState& app = App();
  app.Platform = platform;
  if (!app.Platform.clock) app.Platform.clock = LocalTimeOfDay;
  if (OsVersionNumber() >= 6.0f) SetProcessDPIAware();

  if (FAILED(platform.newWindow(&app.MainWindow)) || !app.MainWindow) return false;
  IWindow& window = *app.MainWindow.Get();
  if (!window.CreateHostWindow(nullptr, L"Direct 2D Pie Chart Demo", 0, 0, 0, 0, 0, 0,
                               MainWindowProc, false)) {
    return false;
  }
  window.ResizeClientArea(512, 540);
  window.CentreWindow(nullptr, nullptr);
  const HWND handle = window.GetWindowHandle();
  window.AddPushButton(handle, IdRegen, L"Regen", 10, 10, 100, 20, 0, 0, nullptr, false);
  window.AddAutoCheckBox(handle, IdGray, L"Gray", 10, 30, 100, 20, 0, 0, nullptr, false);
  CheckRadioButton(handle, IdGray, IdGray, IdGray);
  if (CreateAppObjects()) {
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
