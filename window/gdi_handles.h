#pragma once
// GDI objects held by small owners that give them back, so that no path forgets to.

#include <windows.h>

#include <memory>
#include <type_traits>

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};

// A font that is deleted with DeleteObject when its owner lets go of it.
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The screen's device context, from GetDC(nullptr), released when the holder goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};
