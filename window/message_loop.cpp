// The message loop of a CWindow's window, with the dialog keyboard interface.

#include "window/cwindow.h"

INT32 CWindow::RunMessageLoop(INT32 showCommand) {
  if (WindowHandle == nullptr) return 0;
  ShowWindow(WindowHandle, showCommand != 0 ? showCommand : SW_SHOW);
  UpdateWindow(WindowHandle);

  MSG message = {};
  // GetMessageW gives 0 for WM_QUIT and -1 only for an invalid filter window, which a null
  // filter cannot be.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Always our own window: Tab moves among its tab stops and Esc becomes IDCANCEL, also when
    // the message is for one of its controls.
    if (IsDialogMessageW(WindowHandle, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<INT32>(message.wParam);
}
