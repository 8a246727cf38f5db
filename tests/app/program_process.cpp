#include "tests/app/program_process.h"

#include <cstdio>

namespace apptest {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

HWND FindProgramWindow(DWORD process) {
  struct Search {
    DWORD process;
    HWND found;
  } search{process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t caption[128] = {};
        GetWindowTextW(window, caption, 128);
        if (owner == s->process && IsWindowVisible(window) &&
            std::wstring(caption).rfind(L"D2 Pie: ", 0) == 0) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string FirstLineOf(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"r");
  if (file == nullptr) return "no report";
  char line[64] = {};
  if (std::fgets(line, sizeof line, file) == nullptr) line[0] = '\0';
  std::fclose(file);
  std::string text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace apptest
