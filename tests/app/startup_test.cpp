#include <gtest/gtest.h>

#include <string>

#include "app/app_main.h"
#include "d2d/d2d1_helper.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_process.h"
#include "window/cwindow.h"

namespace apptest {
namespace {

// A window object that has made its one window already, so the program's window cannot be made.
HRESULT SpentWindow(IWindow** window) {
  const HRESULT result = NewWindow(window);
  if (SUCCEEDED(result)) {
    (*window)->CreateHostWindow(nullptr, L"spent", 0, 0, 100, 100, WS_OVERLAPPED, 0, nullptr, true);
  }
  return result;
}

size_t VisibleWindowsOfThisProcess() {
  return win32::VisibleWindowsOf(GetCurrentProcessId()).size();
}

// The failures, each in one entry of the platform: no window, factory or helper object, or a
// spent window object.
void (*const kFailures[])(AppPlatform&) = {
    [](AppPlatform& platform) {
      platform.newWindow = [](IWindow** window) { return *window = nullptr, E_OUTOFMEMORY; };
    },
    [](AppPlatform& platform) {
      platform.createFactory = [](D2D1_FACTORY_TYPE, ID2D1Factory** factory) {
        return *factory = nullptr, E_FAIL;
      };
    },
    [](AppPlatform& platform) {
      platform.newHelper = [](ID2DHelper** helper) { return *helper = nullptr, E_OUTOFMEMORY; };
    },
    [](AppPlatform& platform) { platform.newWindow = SpentWindow; },
};

class StartupFailure : public ::testing::TestWithParam<int> {};

TEST_P(StartupFailure, EndsWithANonZeroCodeAndNeverShowsTheWindow) {
  const LONG liveBefore = orb::LiveObjectCount();
  ScriptedRandom random;
  AppPlatform platform = ScriptedPlatform(random);
  kFailures[GetParam()](platform);
  const size_t visibleBefore = VisibleWindowsOfThisProcess();
  EXPECT_EQ(ExitStartupFailed, RunMain(platform, SW_SHOW));
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"Direct 2D Pie Chart Demo"));
  // No quit is left behind for the next message loop of this thread.
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  if (const HWND spent = FindWindowW(nullptr, L"spent")) {
    DestroyWindow(spent);  // its default procedure posts a quit of its own
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  EXPECT_NE(0, ExitStartupFailed);
  EXPECT_EQ(visibleBefore, VisibleWindowsOfThisProcess());
  PumpMessages();
  EXPECT_EQ(liveBefore, orb::LiveObjectCount());
}

INSTANTIATE_TEST_SUITE_P(WindowFactoryOrHelper, StartupFailure, ::testing::Values(0, 1, 2, 3));

TEST(Startup, ANormalRunEndsWithZeroWhenTheWindowIsClosed) {
  const LONG liveBefore = orb::LiveObjectCount();
  ScriptedRandom random;
  // Close the window as soon as the loop runs.
  ASSERT_TRUE(StartApp(ScriptedPlatform(random)));
  const HWND window = App().MainWindow->GetWindowHandle();
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, App().MainWindow->RunMessageLoop(SW_SHOWNOACTIVATE));
  EXPECT_FALSE(IsWindow(window));
  ReleaseAppObjects();
  EXPECT_EQ(liveBefore, orb::LiveObjectCount());
}

// The awareness comes from the manifest: Windows reads it before the program runs.
TEST(Startup, TheProgramAsksForPerMonitorDpiAwareness) {
  const std::wstring path = ProgramFolder() + L"d2pie.exe";
  const HMODULE program = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(program) << "d2pie.exe could not be read: error " << GetLastError();
  const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
  const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  const std::string manifest = text ? std::string(text, SizeofResource(program, found)) : "";
  FreeLibrary(program);
  ASSERT_FALSE(manifest.empty()) << "d2pie.exe has no manifest";
  for (const char* setting :
       {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
        "PerMonitorV2, PerMonitor</dpiAwareness>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
        "true/pm</dpiAware>"}) {
    EXPECT_NE(std::string::npos, manifest.find(setting)) << setting << " missing from " << manifest;
  }
}

// The 120-DPI run must really run on a 120-DPI screen, or it proves nothing.
TEST(Screen, HasTheDpiTheRunAskedFor) {
  wchar_t expected[16] = {};
  const int asked =
      GetEnvironmentVariableW(L"D2PIE_EXPECTED_DPI", expected, 16) ? _wtoi(expected) : 96;
  EXPECT_EQ(asked, win32::ScreenDpi());
}

}  // namespace
}  // namespace apptest
