#include "window/host_class.h"

#include <string>

namespace {

// Successful registrations so far; shared by every CWindow of the process. User-interface
// thread only.
INT32 classCounter = 0;

constexpr size_t kMaxClassNameLength = 255;

}  // namespace

double OsVersionNumber() {
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)  // GetVersion is deprecated, but its answer is what we want
#endif
  const DWORD version = GetVersion();
#if defined(_MSC_VER)
#pragma warning(pop)
#endif
  const double major = static_cast<double>(LOBYTE(LOWORD(version)));
  const double minor = static_cast<double>(HIBYTE(LOWORD(version)));
  return major + minor / 100.0;
}

ATOM RegisterHostClass(LPCWSTR className, HINSTANCE instance, WNDPROC windowProc) {
  std::wstring name =
      (className != nullptr && className[0] != L'\0') ? className : L"OrbWindowClass";
  name += L':';
  name += std::to_wstring(classCounter);
  if (name.size() > kMaxClassNameLength) name.resize(kMaxClassNameLength);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = windowProc != nullptr ? windowProc : DefaultHostProc;
  // Extra memory, zeroed by the system. The class's 8 bytes take the address of the CWindow that
  // created its window (stored by CWindow::CreateHostWindow; a pointer fits on 32- and 64-bit
  // systems); the window's 4 bytes stay unused. Nothing in the program reads either back.
  windowClass.cbClsExtra = 8;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = name.c_str();

  const ATOM atom = RegisterClassExW(&windowClass);
  // A failed registration keeps the number for the next attempt. Unsigned arithmetic so that
  // the counter wraps instead of overflowing.
  if (atom != 0) classCounter = static_cast<INT32>(static_cast<UINT32>(classCounter) + 1u);
  return atom;
}

LRESULT CALLBACK DefaultHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & ~static_cast<WPARAM>(0xF)) == SC_CLOSE) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
