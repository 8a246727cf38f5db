// Child controls of a CWindow's window, placed in logical units.

#include "window/cwindow.h"

namespace {

constexpr DWORD kDefaultControlStyle = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kCentredText = BS_CENTER | BS_VCENTER;
constexpr DWORD kDefaultPushButtonStyle = kDefaultControlStyle | kCentredText | BS_PUSHBUTTON;
constexpr DWORD kDefaultCheckBoxStyle =
    kDefaultControlStyle | BS_VCENTER | BS_LEFT | BS_AUTOCHECKBOX;
constexpr DWORD kDefaultFrameStyle = WS_VISIBLE | SS_ETCHEDFRAME;
// Split-button types; commctrl.h declares them only for newer target versions.
constexpr DWORD kSplitButton = 0x000C;
constexpr DWORD kDefSplitButton = 0x000D;

// A bare button type given as the style stands for the default push button of that type.
DWORD ExpandPushButtonStyle(DWORD style) {
  switch (style) {
    case BS_FLAT:
      return kDefaultPushButtonStyle | BS_FLAT;
    case BS_DEFPUSHBUTTON:
      return kDefaultPushButtonStyle | BS_DEFPUSHBUTTON;
    case BS_OWNERDRAW:
      // Owner-drawn buttons place their own text: no alignment bits.
      return kDefaultControlStyle | BS_OWNERDRAW;
    case kSplitButton:
      return kDefaultPushButtonStyle | kSplitButton;
    case kDefSplitButton:
      return kDefaultPushButtonStyle | kDefSplitButton;
    default:
      return style;
  }
}

}  // namespace

HWND CWindow::AddChildControl(LPCWSTR className, HWND parent, INT32 id, LPCWSTR text, INT32 x,
                              INT32 y, INT32 width, INT32 height, DWORD style, DWORD exStyle,
                              LPVOID createParam, WNDPROC subclassProc, bool inPixels) {
  if (parent == nullptr) parent = WindowHandle;
  if (style == kUseDefaultStyle) style = kDefaultControlStyle;
  if (exStyle == kUseDefaultStyle) exStyle = 0;
  style |= WS_CHILD;
  if (!inPixels) {
    x = ScaleX(x);
    width = ScaleX(width);
    y = ScaleY(y);
    height = ScaleY(height);
  }

  HWND control = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceHandle,
                                 createParam);
  if (control == nullptr) return nullptr;

  if (subclassProc != nullptr) {
    const LONG_PTR previous =
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc));
    SetPropW(control, L"OLDWNDPROC", reinterpret_cast<HANDLE>(previous));
  }
  return control;
}

HWND CWindow::AddPushButton(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y, INT32 width,
                            INT32 height, DWORD style, DWORD exStyle, WNDPROC subclassProc,
                            bool inPixels) {
  if (style == 0 || style == kUseDefaultStyle) style = kDefaultPushButtonStyle;
  if (exStyle == kUseDefaultStyle) exStyle = 0;
  style = ExpandPushButtonStyle(style);
  return AddButtonWithFont(parent, id, text, x, y, width, height, style, exStyle, subclassProc,
                           inPixels);
}

HWND CWindow::AddAutoCheckBox(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y, INT32 width,
                              INT32 height, DWORD style, DWORD exStyle, WNDPROC subclassProc,
                              bool inPixels) {
  if (style == 0 || style == kUseDefaultStyle) style = kDefaultCheckBoxStyle;
  if (exStyle == kUseDefaultStyle) exStyle = 0;
  return AddButtonWithFont(parent, id, text, x, y, width, height, style, exStyle, subclassProc,
                           inPixels);
}

HWND CWindow::AddButtonWithFont(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y, INT32 width,
                                INT32 height, DWORD style, DWORD exStyle, WNDPROC subclassProc,
                                bool inPixels) {
  HWND control = AddChildControl(L"Button", parent, id, text, x, y, width, height, style, exStyle,
                                 nullptr, subclassProc, inPixels);
  // The control takes the window's font and redraws with it.
  if (control != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont.get()), TRUE);
  }
  return control;
}

HWND CWindow::AddEtchedFrame(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y, INT32 width,
                             INT32 height, DWORD style, DWORD exStyle, WNDPROC subclassProc,
                             bool inPixels) {
  if (style == 0 || style == kUseDefaultStyle) style = kDefaultFrameStyle;
  if (exStyle == 0 || exStyle == kUseDefaultStyle) exStyle = WS_EX_TRANSPARENT;
  return AddChildControl(L"Static", parent, id, text, x, y, width, height, style, exStyle, nullptr,
                         subclassProc, inPixels);
}

bool CWindow::MoveChildControl(HWND control, INT32 x, INT32 y, INT32 width, INT32 height,
                               bool inPixels) {
  if (!inPixels) {
    x = ScaleX(x);
    width = ScaleX(width);
    y = ScaleY(y);
    height = ScaleY(height);
  }
  return SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}
