// The stand-in steps aside outside Wine: which Direct2D answers its exports, chosen from plain
// inputs. A fake of the system's d2d1.dll (fake_system_d2d1.cpp, built into build/fake-system32)
// notes every call that reaches it.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "helpers/win32.h"
#include "platform/d2d1/step_aside.h"

namespace {

using standin::ChooseRoute;
using standin::Direct2DEntries;
using standin::Host;
using standin::Route;

// A folder of the build tree by its full path; the tests run from build/bin.
std::wstring BuildFolder(const wchar_t* name) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring path(program);
  path.resize(path.find_last_of(L"\\/"));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + name;
}

const std::wstring kFakeFolder = BuildFolder(L"fake-system32");
const std::wstring kFake = kFakeFolder + L"\\d2d1.dll";

Host HostAt(bool underWine, const std::wstring& folder) {
  Host host;
  host.underWine = underWine;
  folder.copy(host.systemFolder, MAX_PATH - 1);
  return host;
}

// The entries standing for the stand-in's own; they count their calls.
int ownCalls = 0;
HRESULT WINAPI OwnCreateFactory(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**) {
  ++ownCalls;
  return S_OK;
}
void WINAPI OwnMakeRotateMatrix(FLOAT, D2D1_POINT_2F, D2D1_MATRIX_3X2_F*) { ++ownCalls; }
void WINAPI OwnMakeSkewMatrix(FLOAT, FLOAT, D2D1_POINT_2F, D2D1_MATRIX_3X2_F*) { ++ownCalls; }
BOOL WINAPI OwnIsMatrixInvertible(const D2D1_MATRIX_3X2_F*) {
  ++ownCalls;
  return FALSE;
}
BOOL WINAPI OwnInvertMatrix(D2D1_MATRIX_3X2_F*) {
  ++ownCalls;
  return FALSE;
}
const Direct2DEntries kOwn{&OwnCreateFactory, &OwnMakeRotateMatrix, &OwnMakeSkewMatrix,
                           &OwnIsMatrixInvertible, &OwnInvertMatrix};

// Frees what a route loaded.
using LoadedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)>;
LoadedModule Hold(HMODULE module) { return LoadedModule(module, &FreeLibrary); }

std::string ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return win32::Narrow(path);
}

bool FakeLoaded() { return GetModuleHandleW(kFake.c_str()) != nullptr; }

TEST(StandInStepAside, UnderWineTheStandInAnswersItselfAndLoadsNothing) {
  Host host = standin::HostOfThisProcess();
  EXPECT_TRUE(host.underWine) << "ntdll.dll exports no wine_get_version, yet d2d1_tests run "
                                 "under Wine";
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(win32::Narrow(system), win32::Narrow(host.systemFolder));

  host = HostAt(true, kFakeFolder);
  const Route route = ChooseRoute(host, kOwn);
  const auto held = Hold(route.system);
  EXPECT_EQ(nullptr, route.system) << "loaded " << ModulePath(route.system);
  EXPECT_FALSE(FakeLoaded());
  EXPECT_EQ(kOwn.createFactory, route.entries.createFactory);
  EXPECT_EQ(kOwn.makeRotateMatrix, route.entries.makeRotateMatrix);
  EXPECT_EQ(kOwn.makeSkewMatrix, route.entries.makeSkewMatrix);
  EXPECT_EQ(kOwn.isMatrixInvertible, route.entries.isMatrixInvertible);
  EXPECT_EQ(kOwn.invertMatrix, route.entries.invertMatrix);
}

TEST(StandInStepAside, OutsideWineEveryExportGoesToTheSystemDirect2D) {
  ownCalls = 0;
  const Route route = ChooseRoute(HostAt(false, kFakeFolder), kOwn);
  const auto held = Hold(route.system);
  ASSERT_NE(nullptr, route.system)
      << "the fake system d2d1.dll " << win32::Narrow(kFake) << " was not loaded (is it built?)";
  EXPECT_EQ(win32::Narrow(kFake), ModulePath(route.system));
  const auto calls = reinterpret_cast<const char*(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(route.system, "FakeDirect2DCalls")));
  ASSERT_NE(nullptr, calls);

  void* factory = &ownCalls;
  // E_ABORT and TRUE for a singular matrix are the fake's answers, not Direct2D's.
  EXPECT_EQ(E_ABORT, route.entries.createFactory(D2D1_FACTORY_TYPE_MULTI_THREADED,
                                                 __uuidof(ID2D1Factory), nullptr, &factory));
  EXPECT_EQ(nullptr, factory);
  D2D1_MATRIX_3X2_F matrix{};
  route.entries.makeRotateMatrix(30.0f, D2D1_POINT_2F{1.0f, 2.0f}, &matrix);
  route.entries.makeSkewMatrix(10.0f, 20.0f, D2D1_POINT_2F{3.0f, 4.0f}, &matrix);
  EXPECT_EQ(7.0f, matrix._32);
  const D2D1_MATRIX_3X2_F singular{};
  EXPECT_EQ(TRUE, route.entries.isMatrixInvertible(&singular));
  matrix._11 = 5.0f;
  EXPECT_EQ(TRUE, route.entries.invertMatrix(&matrix));
  EXPECT_STREQ(
      "D2D1CreateFactory(1, ID2D1Factory)\n"
      "D2D1MakeRotateMatrix(30, 1, 2)\n"
      "D2D1MakeSkewMatrix(10, 20, 3, 4)\n"
      "D2D1IsMatrixInvertible(0)\n"
      "D2D1InvertMatrix(5)\n",
      calls());
  EXPECT_EQ(0, ownCalls) << "the stand-in's own entries answered outside Wine";
}

// Restores the current directory on scope exit.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::wstring& folder) {
    GetCurrentDirectoryW(MAX_PATH, saved_);
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentDirectory() { SetCurrentDirectoryW(saved_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  wchar_t saved_[MAX_PATH] = {};
};

TEST(StandInStepAside, OutsideWineNothingButASystemDirect2DByFullPathIsTaken) {
  // The relative folders would each find the fake from the current directory.
  const struct {
    const char* what;
    std::wstring folder;
    std::wstring current;
  } cases[] = {
      {"no folder", L"", kFakeFolder},
      {"the current directory", L".", kFakeFolder},
      {"a relative folder", L"fake-system32", BuildFolder(L"")},
      {"a folder without d2d1.dll", BuildFolder(L"bin"), kFakeFolder},
      {"the stand-in's own folder", BuildFolder(L"standin"), kFakeFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": \"" + win32::Narrow(c.folder) + "\"");
    const CurrentDirectory current(c.current);
    const Route route = ChooseRoute(HostAt(false, c.folder), kOwn);
    const auto held = Hold(route.system);
    EXPECT_EQ(nullptr, route.system) << "loaded " << ModulePath(route.system);
    EXPECT_FALSE(FakeLoaded());
    void* factory = &ownCalls;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND),
              route.entries.createFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory),
                                          nullptr, &factory));
    EXPECT_EQ(nullptr, factory);
    // Plain arithmetic needs no Direct2D: the matrix helpers stay the stand-in's own.
    EXPECT_EQ(kOwn.makeRotateMatrix, route.entries.makeRotateMatrix);
    EXPECT_EQ(kOwn.invertMatrix, route.entries.invertMatrix);
  }
}

}  // namespace
