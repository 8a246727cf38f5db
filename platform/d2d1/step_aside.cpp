#include "platform/d2d1/step_aside.h"

#include <cwchar>
#include <iterator>

namespace standin {

namespace {

// "C:\..." or "\\server\share\...": a folder that neither the current directory nor the
// program's folder completes.
bool IsAbsoluteFolder(const wchar_t* folder) {
  const wchar_t drive = folder[0];
  const bool letter = (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
  if (letter && folder[1] == L':') return folder[2] == L'\\' || folder[2] == L'/';
  return folder[0] == L'\\' && folder[1] == L'\\';
}

HRESULT WINAPI NoFactory(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void** factory) {
  if (factory != nullptr) *factory = nullptr;
  return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
}

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

HMODULE ThisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &self);
  return self;
}

// The d2d1.dll of folder with every export found, or null.
HMODULE LoadSystemDirect2D(const wchar_t* folder, Direct2DEntries& entries) {
  const size_t length = wcsnlen(folder, MAX_PATH);
  if (length == MAX_PATH || !IsAbsoluteFolder(folder)) return nullptr;
  const bool separated = folder[length - 1] == L'\\' || folder[length - 1] == L'/';
  const wchar_t* name = separated ? L"d2d1.dll" : L"\\d2d1.dll";
  const size_t nameLength = std::wcslen(name) + 1;  // with its terminator
  wchar_t path[MAX_PATH];
  if (length + nameLength > std::size(path)) return nullptr;
  std::wmemcpy(path, folder, length);
  std::wmemcpy(path + length, name, nameLength);
  // Its own imports come from the system folder too, never from the program's.
  const HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  // A stand-in there (this very module, or a copy of it) would hand every call back to itself.
  const bool standIn =
      module == ThisModule() || GetProcAddress(module, "D2PieStandInLiveObjects") != nullptr;
  Direct2DEntries found{};
  if (standIn || !Find(module, "D2D1CreateFactory", found.createFactory) ||
      !Find(module, "D2D1MakeRotateMatrix", found.makeRotateMatrix) ||
      !Find(module, "D2D1MakeSkewMatrix", found.makeSkewMatrix) ||
      !Find(module, "D2D1IsMatrixInvertible", found.isMatrixInvertible) ||
      !Find(module, "D2D1InvertMatrix", found.invertMatrix)) {
    FreeLibrary(module);
    return nullptr;
  }
  entries = found;
  return module;
}

}  // namespace

Host HostOfThisProcess() {
  Host host;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  host.underWine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  const UINT length = GetSystemDirectoryW(host.systemFolder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) host.systemFolder[0] = L'\0';
  return host;
}

Route ChooseRoute(const Host& host, const Direct2DEntries& own) {
  Route route;
  route.entries = own;
  if (host.underWine) return route;
  route.system = LoadSystemDirect2D(host.systemFolder, route.entries);
  if (route.system == nullptr) route.entries.createFactory = &NoFactory;
  return route;
}

}  // namespace standin
