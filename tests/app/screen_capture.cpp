#include "tests/app/screen_capture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/app/program_process.h"

namespace apptest {

ClientShot::ClientShot(HWND window) {
  // A zero wait for input is where Wine puts this thread's finished drawing on the screen.
  MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const HDC screen = GetDC(nullptr);
  Read(window, screen, origin);
  ReleaseDC(nullptr, screen);
}

ClientShot ClientShot::OfWindowDc(HWND window) {
  ClientShot shot;
  const HDC own = GetDC(window);
  shot.Read(window, own, POINT{0, 0});
  ReleaseDC(window, own);
  return shot;
}

void ClientShot::Read(HWND window, HDC source, POINT origin) {
  RECT client{};
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return;
  width_ = client.right;
  height_ = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, source, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* words = static_cast<const DWORD*>(bits);
  pixels_.assign(words, words + static_cast<size_t>(width_) * height_);
  // Only red, green and blue are a picture; what a copy leaves in the fourth byte is not.
  for (DWORD& pixel : pixels_) pixel &= 0x00FFFFFFu;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

namespace {

// build\bin\ holds the test programs; the pictures go to build\test-output\.
std::wstring OutputFolder() {
  std::wstring folder = ProgramFolder();
  folder.pop_back();
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"test-output\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool WriteBitmap(const std::wstring& path, const ClientShot& shot) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = shot.Width();
  header.biHeight = -shot.Height();
  header.biPlanes = 1;
  header.biBitCount = 32;
  const DWORD pixelBytes = static_cast<DWORD>(shot.Pixels().size() * sizeof(DWORD));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + pixelBytes;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                 std::fwrite(&header, sizeof(header), 1, out) == 1;
  if (pixelBytes > 0) {
    written = written && std::fwrite(shot.Pixels().data(), pixelBytes, 1, out) == 1;
  }
  return std::fclose(out) == 0 && written;
}

}  // namespace

std::string SavedForDiagnosis(const ClientShot& shot, const std::string& step) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "no-test";
  name += "-" + step + ".bmp";
  const std::wstring path = OutputFolder() + std::wstring(name.begin(), name.end());
  if (!WriteBitmap(path, shot)) return "the picture could not be saved as " + name;
  return "picture of the window (" + std::to_string(shot.Width()) + " x " +
         std::to_string(shot.Height()) + "): build/test-output/" + name;
}

}  // namespace apptest
