// The stand-in's process-wide switches, seen from a separate process: the leak report written
// when the process ends, and device loss on a list of frames counted from the process start.
// Also the schedule's parsing, directly.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "helpers/win32.h"
#include "platform/d2d1/frame_schedule.h"

namespace {

using standin::FrameSchedule;

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

std::wstring TempFile(const wchar_t* prefix) {
  wchar_t folder[MAX_PATH], file[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, prefix, 0, file);
  return file;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  return text;
}

// Runs the probe with one environment variable set; returns its exit code (-1 if it did not run,
// or did not end within a minute and was ended).
int RunProbe(const std::wstring& arguments, const wchar_t* variable, const std::wstring& value) {
  SetEnvironmentVariableW(variable, value.c_str());
  PROCESS_INFORMATION process{};
  const DWORD error = win32::StartProcess(
      L"\"" + BesideThisProgram(L"d2d1_switch_probe.exe") + L"\" " + arguments, process);
  SetEnvironmentVariableW(variable, nullptr);
  if (error != 0) return -1;
  const int code = win32::ExitCodeWithin(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(StandInLeakReport, CountsTheObjectsStillAliveAtExit) {
  for (const int kept : {0, 1, 3}) {
    const std::wstring report = TempFile(L"lk");
    ASSERT_EQ(0, RunProbe(L"leak " + std::to_wstring(kept), L"D2PIE_D2D1_LEAK_REPORT", report));
    EXPECT_EQ("alive " + std::to_string(kept) + "\n", ReadWholeFile(report));
    DeleteFileW(report.c_str());
  }
}

TEST(StandInDeviceLoss, ListedFramesOfTheProcessReportALostTarget) {
  const std::wstring log = TempFile(L"fr");
  ASSERT_EQ(0, RunProbe(L"frames 8 \"" + log + L"\"", L"D2PIE_D2D1_DEVICE_LOSS", L"2, 5,7"));
  EXPECT_EQ("1 ok\n2 lost\n3 ok\n4 ok\n5 lost\n6 ok\n7 lost\n8 ok\n", ReadWholeFile(log));
  ASSERT_EQ(0, RunProbe(L"frames 3 \"" + log + L"\"", L"D2PIE_D2D1_DEVICE_LOSS", L""));
  EXPECT_EQ("1 ok\n2 ok\n3 ok\n", ReadWholeFile(log));
  DeleteFileW(log.c_str());
}

TEST(StandInFrameSchedule, ParsesPeriodsAndLists) {
  const auto every = FrameSchedule::Parse("every:4");
  EXPECT_FALSE(every.Contains(3));
  EXPECT_TRUE(every.Contains(4));
  EXPECT_TRUE(every.Contains(400));
  EXPECT_FALSE(every.Contains(0));
  const auto list = FrameSchedule::Parse(" 20,3 , 7 ");
  for (std::uint64_t frame = 1; frame <= 25; ++frame) {
    EXPECT_EQ(frame == 3 || frame == 7 || frame == 20, list.Contains(frame)) << frame;
  }
}

TEST(StandInFrameSchedule, MalformedTextChoosesNoFrame) {
  for (const char* text :
       {"", "every:", "every:0", "every:x", "3,,4", "3,", ",3", "3,a", "-2", "0", "1.5"}) {
    const auto schedule = FrameSchedule::Parse(text);
    for (std::uint64_t frame = 1; frame < 10; ++frame) {
      EXPECT_FALSE(schedule.Contains(frame)) << text << " frame " << frame;
    }
  }
}

}  // namespace
