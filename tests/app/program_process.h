#pragma once
// The built d2pie.exe as a process of its own: where it is, its main window, its leak report.

#include <windows.h>

#include <string>

namespace apptest {

// The folder of this test program, where d2pie.exe is built too; ends with a separator.
std::wstring ProgramFolder();

// The visible top-level window of process whose caption begins with "D2 Pie: ", or null.
HWND FindProgramWindow(DWORD process);

// The first line of a text file without its line end, or "no report" when it cannot be read.
std::string FirstLineOf(const std::wstring& path);

}  // namespace apptest
