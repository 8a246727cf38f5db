#pragma once
// What the screen shows of a window's client area, read back through GDI.

#include <windows.h>

#include <vector>

namespace apptest {

struct Pixel {
  int red, green, blue;
  bool operator==(const Pixel&) const = default;
  bool IsGray() const { return red == green && green == blue; }
};

constexpr Pixel Background{0, 82, 121};

// What the screen shows of a window's client area.
class ClientShot {
 public:
  explicit ClientShot(HWND window);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Pixel At(int x, int y) const {
    const DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
    return Pixel{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                 static_cast<int>(p & 0xFF)};
  }
  bool operator==(const ClientShot& other) const { return pixels_ == other.pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

}  // namespace apptest
