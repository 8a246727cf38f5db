#include "helpers/win32.h"

namespace win32 {

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

DWORD StartProcess(std::wstring command, PROCESS_INFORMATION& started) {
  DWORD error = ERROR_INTERNAL_ERROR;
  for (int attempt = 0; attempt < 3 && error == ERROR_INTERNAL_ERROR; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started = PROCESS_INFORMATION{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &started))
      return 0;
    error = GetLastError();
  }
  started = PROCESS_INFORMATION{};
  return error;
}

int ExitCodeWithin(HANDLE process, DWORD deadlineMs) {
  if (WaitForSingleObject(process, deadlineMs) != WAIT_OBJECT_0) {
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 5000);
    return -1;
  }
  DWORD code = 12345;
  GetExitCodeProcess(process, &code);
  return static_cast<int>(code);
}

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (const wchar_t c : text) result += c < 128 ? static_cast<char>(c) : '?';
  return result;
}

RECT WindowBounds(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

RECT ClientBounds(HWND window) {
  RECT bounds{};
  GetClientRect(window, &bounds);
  return bounds;
}

RECT ChildBounds(HWND child) {
  RECT bounds = WindowBounds(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void SetClientSize(HWND window, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, StyleOf(window), FALSE, ExStyleOf(window));
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<HWND> VisibleWindowsOf(DWORD process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)); }

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[260] = {};
  GetClassNameW(window, name, 260);
  return name;
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

LOGFONTW DescriptionOf(HFONT font) {
  LOGFONTW description{};
  GetObjectW(font, sizeof(description), &description);
  return description;
}

DWORD GdiObjectCount(HANDLE process) { return GetGuiResources(process, GR_GDIOBJECTS); }

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::vector<std::uint32_t> ReadPixels(HDC source, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height, 0);
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory != nullptr && bitmap != nullptr && bits != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    // Only red, green and blue are a picture; what a copy leaves in the fourth byte is not.
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = words[i] & 0x00FFFFFFu;
    SelectObject(memory, old);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  return pixels;
}

LONG StandInLiveObjects() {
  const HMODULE d2d1 = GetModuleHandleW(L"d2d1.dll");
  if (d2d1 == nullptr) return -1;
  const auto count = reinterpret_cast<LONG(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(d2d1, "D2PieStandInLiveObjects")));
  return count != nullptr ? count() : -1;
}

}  // namespace win32
