// Keeps a Wine prefix's desktop alive while the tests run. Wine closes a desktop one second
// after its last program ends and starts it again with the next one; a program that starts
// while the old desktop shuts down can find it gone, and then none of its windows can be made.
// The test command starts this program once per prefix before the tests and ends it after them.
//
// Usage: desktop_keeper.exe READY_FILE: once its own hidden window exists, it writes "ready"
// to READY_FILE (or "failed <GetLastError>" when no window could be made within 30 s) and then
// waits for messages until it is ended.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool WriteReady(const wchar_t* path, const std::string& text) {
  FILE* file = _wfopen(path, L"wb");  // a plain "\n" for the shell that reads it
  if (file == nullptr) return false;
  const bool written = std::fputs((text + "\n").c_str(), file) >= 0;
  return std::fclose(file) == 0 && written;
}

HWND MakeHiddenWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"D2PieDesktopKeeper";
  RegisterClassW(&windowClass);
  return CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"desktop keeper", WS_POPUP,
                         0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: desktop_keeper.exe READY_FILE\n", stderr);
    return 2;
  }
  HWND window = nullptr;
  DWORD error = 0;
  const ULONGLONG end = GetTickCount64() + 30000;
  while ((window = MakeHiddenWindow()) == nullptr) {
    error = GetLastError();
    if (GetTickCount64() >= end) break;
    Sleep(100);
  }
  if (window == nullptr) {
    WriteReady(argv[1], "failed " + std::to_string(error));
    return 1;
  }
  if (!WriteReady(argv[1], "ready")) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
