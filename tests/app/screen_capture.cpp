#include "tests/app/screen_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "helpers/win32.h"
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
  pixels_ = win32::ReadPixels(source, origin.x, origin.y, width_, height_);
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
  const BITMAPINFOHEADER header = win32::TopDownBitmapInfo(shot.Width(), shot.Height()).bmiHeader;
  const DWORD pixelBytes = static_cast<DWORD>(shot.Pixels().size() * sizeof(std::uint32_t));
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

::testing::AssertionResult SamePictures(const ClientShot& a, const std::string& stepA,
                                        const ClientShot& b, const std::string& stepB) {
  if (a == b) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  failure << "the pictures " << stepA << " (" << a.Width() << " x " << a.Height() << ") and "
          << stepB << " (" << b.Width() << " x " << b.Height() << ") differ";
  // Where they differ, when they have one size.
  RECT differing{a.Width(), a.Height(), -1, -1};
  POINT first{-1, -1};
  for (int y = 0; y < a.Height() && a.Width() == b.Width() && a.Height() == b.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      if (first.x < 0) first = POINT{x, y};
      differing = RECT{std::min(differing.left, LONG{x}), std::min(differing.top, LONG{y}),
                       std::max(differing.right, LONG{x}), std::max(differing.bottom, LONG{y})};
    }
  }
  if (first.x >= 0) {
    failure << " within (" << differing.left << ", " << differing.top << ")-(" << differing.right
            << ", " << differing.bottom << "); the first pixel shows " << a.At(first.x, first.y)
            << " and " << b.At(first.x, first.y);
  }
  return failure << "; " << SavedForDiagnosis(a, stepA) << "; " << SavedForDiagnosis(b, stepB);
}

std::string ChartsMissing(const ClientShot& shot, float scale) {
  std::ostringstream missing;
  const POINT side{shot.Width() - 3, shot.Height() / 2};
  if (shot.At(side.x, side.y) != Background) {
    missing << "beside the charts at (" << side.x << ", " << side.y
            << "): " << shot.At(side.x, side.y) << "; ";
  }
  // The pies' centres lie half-way across, 110 and 370 units down.
  for (const float y : {113.0f, 373.0f}) {
    const POINT p{shot.Width() / 2 + std::lround(3 * scale), std::lround(y * scale)};
    if (shot.At(p.x, p.y) == Background) missing << "no chart at (" << p.x << ", " << p.y << "); ";
  }
  return missing.str();
}

ClientShot Repainted(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  return ClientShot(window);
}

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
