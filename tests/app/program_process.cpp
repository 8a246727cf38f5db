#include "tests/app/program_process.h"

#include <cstdio>

#include "helpers/win32.h"
#include "tests/app/screen_capture.h"

namespace apptest {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

HWND FindProgramWindow(DWORD process) {
  for (const HWND window : win32::VisibleWindowsOf(process)) {
    if (win32::TextOf(window).starts_with(L"D2 Pie: ")) return window;
  }
  return nullptr;
}

std::string ProgramProcess::LeakReport() const {
  FILE* file = _wfopen(leakReport_.c_str(), L"r");
  if (file == nullptr) return "no report";
  char line[64] = {};
  if (std::fgets(line, sizeof line, file) == nullptr) line[0] = '\0';
  std::fclose(file);
  std::string text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

ProgramProcess::ProgramProcess(const Environment& given) {
  static int made = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  leakReport_ = std::wstring(temp) + L"d2pie-leaks-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++made) + L".txt";
  DeleteFileW(leakReport_.c_str());
  Environment environment = given;
  environment.emplace_back(L"D2PIE_D2D1_LEAK_REPORT", leakReport_);
  // The child inherits this process's environment as it stands at creation.
  for (const auto& [name, value] : environment)
    SetEnvironmentVariableW(name.c_str(), value.c_str());
  const DWORD error = win32::StartProcess(L"\"" + ProgramFolder() + L"d2pie.exe\"", process_);
  for (const auto& entry : environment) SetEnvironmentVariableW(entry.first.c_str(), nullptr);
  if (error != 0) {
    failure_ = "d2pie.exe did not start: CreateProcess error " + std::to_string(error);
    return;
  }
  DWORD code = STILL_ACTIVE;
  WaitUntil(
      [&] {
        window_ = FindProgramWindow(process_.dwProcessId);
        return window_ != nullptr ||
               (GetExitCodeProcess(process_.hProcess, &code) && code != STILL_ACTIVE);
      },
      20000);
  if (window_ != nullptr) return;
  failure_ = code == STILL_ACTIVE ? "d2pie.exe showed no window within 20 s"
                                  : "d2pie.exe ended with exit code " + std::to_string(code) +
                                        " before its window showed";
}

ProgramProcess::~ProgramProcess() {
  DeleteFileW(leakReport_.c_str());
  if (process_.hProcess == nullptr) return;
  win32::ExitCodeWithin(process_.hProcess, 0);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

int ProgramProcess::Close(DWORD deadlineMs) {
  if (process_.hProcess == nullptr) return -1;
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  return win32::ExitCodeWithin(process_.hProcess, deadlineMs);
}

}  // namespace apptest
