#pragma once
// Learns when the system asks a window to erase its background. It asks when the window's pixels
// were lost (the window was uncovered, shown, restored or resized) and must be painted again,
// while a program's own repaint requests may leave the background alone; a render target that
// presents only what changed must then present everything. The watch is a hook on the window's
// thread that sees WM_ERASEBKGND on its way to the window procedure (BeginPaint sends it), so it
// needs nothing from the program. A window of another process cannot be watched: for it every
// frame counts as lost.

#include <windows.h>

#include <atomic>

namespace standin {

class EraseWatch {
 public:
  explicit EraseWatch(HWND window);
  ~EraseWatch();
  EraseWatch(const EraseWatch&) = delete;
  EraseWatch& operator=(const EraseWatch&) = delete;

  // Whether the window was asked to erase since the last call (always true when unwatched).
  bool TakeErase();

  // For the hook.
  HWND Window() const { return window_; }
  void NoteErase() { erased_.store(true); }

 private:
  HWND window_;
  DWORD thread_ = 0;  // the window's thread, 0 when unwatched
  std::atomic<bool> erased_{false};
};

}  // namespace standin
