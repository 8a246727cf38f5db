#pragma once
// Small readers of what Win32 holds for a window and the screen, and the message pump: one copy
// for every test program and the benchmarks (no GoogleTest here).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace win32 {

// Handles every message waiting for this thread. A WM_QUIT among them is dropped, so that none
// is left behind for the next message loop of the thread.
void PumpMessages();

// The screen's DPI as GDI reports it.
int ScreenDpi();

// A window's rectangle on the screen, its client rectangle, and a child window's rectangle in
// its parent's client coordinates.
RECT WindowBounds(HWND window);
RECT ClientBounds(HWND window);
RECT ChildBounds(HWND child);
// Resizes the window where it stands so that its client area is width x height pixels.
void SetClientSize(HWND window, int width, int height);

// Starts command with this process's environment; answers 0, or the error of the last attempt.
// Wine now and then fails a start with ERROR_INTERNAL_ERROR when the new process ends before it
// is set up, through no fault of the program started; such a start is tried up to three times.
DWORD StartProcess(std::wstring command, PROCESS_INFORMATION& started);
// The exit code of a process that ends within deadlineMs; one still running then is ended, and
// the answer is -1.
int ExitCodeWithin(HANDLE process, DWORD deadlineMs);

// The visible top-level windows of a process.
std::vector<HWND> VisibleWindowsOf(DWORD process);

DWORD StyleOf(HWND window);
DWORD ExStyleOf(HWND window);
std::wstring TextOf(HWND window);
std::wstring ClassNameOf(HWND window);

// text for a message: ASCII as it is, any other character as '?'.
std::string Narrow(const std::wstring& text);

// The font a control draws its text with (WM_GETFONT), and what a font was made as.
HFONT FontOf(HWND control);
LOGFONTW DescriptionOf(HFONT font);

// The GDI objects that process holds; Wine answers 0 for every process.
DWORD GdiObjectCount(HANDLE process = GetCurrentProcess());

// The header of a 32-bit top-down device-independent bitmap.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// width x height pixels of source from (x, y) as 0x00RRGGBB, top row first; pixels that cannot
// be read stay 0.
std::vector<std::uint32_t> ReadPixels(HDC source, int x, int y, int width, int height);

// The live-object count of the loaded d2d1.dll; -1 when that is not the Direct2D stand-in.
LONG StandInLiveObjects();

}  // namespace win32
