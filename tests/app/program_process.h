#pragma once
// The built d2pie.exe as a process of its own: starting it, its main window, closing it, its
// leak report.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace apptest {

// The folder of this test program, where d2pie.exe is built too; ends with a separator.
std::wstring ProgramFolder();

// The visible top-level window of process whose caption begins with "D2 Pie: ", or null.
HWND FindProgramWindow(DWORD process);

// d2pie.exe started with environment variables of its own, until its main window shows. The
// Direct2D stand-in writes its leak report to a file of this object's, deleted with it.
class ProgramProcess {
 public:
  using Environment = std::vector<std::pair<std::wstring, std::wstring>>;
  explicit ProgramProcess(const Environment& environment);
  // Ends the process if it still runs.
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  // The main window once shown; null when the process did not start or showed none in time,
  // and then Failure() says why.
  HWND Window() const { return window_; }
  const std::string& Failure() const { return failure_; }
  HANDLE Handle() const { return process_.hProcess; }
  DWORD Id() const { return process_.dwProcessId; }
  // The first line of the leak report ("alive 0" when every object was released), or "no
  // report" while there is none.
  std::string LeakReport() const;

  // Asks the window to close and answers the exit code, or -1 when the process did not end in
  // time (it is ended then).
  int Close(DWORD deadlineMs = 20000);

 private:
  std::wstring leakReport_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::string failure_;
};

}  // namespace apptest
