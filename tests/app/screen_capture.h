#pragma once
// What the screen shows of a window's client area, read back through GDI, and waiting for the
// picture that a step should produce.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace apptest {

struct Pixel {
  int red, green, blue;
  bool operator==(const Pixel&) const = default;
  // Gray but for what antialiasing leaves: where two slices' edges meet under the upper chart's
  // outline, a hundredth of the background can show through (seen as rgb(191, 192, 192)).
  bool IsGray() const { return std::max({red, green, blue}) - std::min({red, green, blue}) <= 3; }
};

inline std::ostream& operator<<(std::ostream& out, const Pixel& p) {
  return out << "rgb(" << p.red << ", " << p.green << ", " << p.blue << ")";
}

constexpr Pixel Background{0, 82, 121};

// What the screen shows of a window's client area. Windows of this thread are drawn into
// memory that Wine copies to the screen when the thread goes idle, so that copy is made first.
class ClientShot {
 public:
  explicit ClientShot(HWND window);
  // What the window's own device context holds of its client area instead: for a window of this
  // process, the pixels it was given, whether or not they have reached the screen.
  static ClientShot OfWindowDc(HWND window);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Pixel At(int x, int y) const {
    if (!Contains(x, y)) return Pixel{-1, -1, -1};
    const std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return Pixel{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                 static_cast<int>(p & 0xFF)};
  }
  bool operator==(const ClientShot& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

 private:
  ClientShot() = default;
  // Copies the client area from source, a device context whose origin lies at origin.
  void Read(HWND window, HDC source, POINT origin);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// How long a step may take to show on the screen before its test fails.
constexpr DWORD kPictureDeadlineMs = 5000;

// Polls condition until it holds or the deadline passes; answers whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD deadlineMs = kPictureDeadlineMs) {
  const ULONGLONG end = GetTickCount64() + deadlineMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(15);
  }
  return true;
}

struct Observed {
  bool met = false;
  ClientShot shot;
};

// Reads the window's picture until condition(shot) holds or the deadline passes; the last
// picture read comes back either way, for the failure message.
template <typename Condition>
Observed WaitForPicture(HWND window, Condition condition, DWORD deadlineMs = kPictureDeadlineMs) {
  std::optional<ClientShot> shot;
  const bool met = WaitUntil([&] { return condition(*(shot = ClientShot(window))); }, deadlineMs);
  return Observed{met, std::move(*shot)};
}

// Saves shot as a bitmap under the build's test-output folder, named after the running test
// and step, and answers a sentence naming the file for a failure message.
std::string SavedForDiagnosis(const ClientShot& shot, const std::string& step);

// Passes when the two pictures are the same; otherwise both are saved for diagnosis, under the
// steps' names.
::testing::AssertionResult SamePictures(const ClientShot& a, const std::string& stepA,
                                        const ClientShot& b, const std::string& stepB);

// What a picture of the program's window lacks, its layout at scale pixels per unit: the
// background beside the charts (at the right edge, half-way down) and a chart drawn just off each
// chart's centre; empty when it lacks nothing.
std::string ChartsMissing(const ClientShot& shot, float scale);

// The window's picture once all of it has been painted again.
ClientShot Repainted(HWND window);

}  // namespace apptest
