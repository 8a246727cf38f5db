#pragma once
// Which render target gave a window its pixels last. Two targets can draw on one window, one
// after the other or side by side; a target that presents only what changed since its own last
// frame must give the whole frame once another target has presented to its window meanwhile.

#include <windows.h>

#include <cstdint>

namespace standin {

class PresentRecord {
 public:
  explicit PresentRecord(HWND window);
  // The window is forgotten if this target presented to it last.
  ~PresentRecord();
  PresentRecord(const PresentRecord&) = delete;
  PresentRecord& operator=(const PresentRecord&) = delete;

  // Whether the window's pixels came from this target last (false before its first present).
  bool PresentedLast() const;
  void NotePresent();

 private:
  HWND window_;
  std::uint64_t id_;  // unique for the process's life, unlike the object's address
};

}  // namespace standin
