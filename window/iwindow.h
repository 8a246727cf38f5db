#pragma once
// The interface of CWindow: one window with its own class, font and DPI scaling, its child
// controls, its geometry and the message loop.
//
// Positions and sizes are logical units (pixels at 96 DPI) turned into device pixels with the
// object's scale factors unless inPixels is true. A style or extended style of 0xFFFFFFFF asks
// for the operation's default.

#include <windows.h>

#include "com/com_object.h"

struct DECLSPEC_UUID("E61D79BB-0773-4FF4-B337-38C739516DDC") DECLSPEC_NOVTABLE IWindow
    : public IUnknown {
  // Registers a class of its own and creates the window; null when the object already has a
  // window or creation fails. A width of 0 asks for the default size (and an x of 0 then for the
  // default position); a style or extended style of 0 gives the default too. A null windowProc
  // uses DefaultHostProc.
  virtual HWND STDMETHODCALLTYPE CreateHostWindow(HWND parent, LPCWSTR caption, INT32 x, INT32 y,
                                                  INT32 width, INT32 height, DWORD style,
                                                  DWORD exStyle, WNDPROC windowProc,
                                                  bool inPixels) = 0;
  // Sends WM_SIZE (SIZE_RESTORED) with the client size in logical units.
  virtual void STDMETHODCALLTYPE SendSizeMessage() = 0;
  virtual INT32 STDMETHODCALLTYPE QueryWindowWidth(bool inPixels) = 0;
  virtual INT32 STDMETHODCALLTYPE QueryClientWidth(bool inPixels) = 0;
  virtual INT32 STDMETHODCALLTYPE QueryClientHeight(bool inPixels) = 0;
  // Centres window (null: the object's window) on reference (null: the work area), kept inside
  // the work area.
  virtual void STDMETHODCALLTYPE CentreWindow(HWND window, HWND reference) = 0;
  // Gives the client area this logical size; the window keeps its position.
  virtual void STDMETHODCALLTYPE ResizeClientArea(INT32 width, INT32 height) = 0;
  // Shows the window (0 means SW_SHOW) and runs the message loop with the dialog keyboard
  // interface until WM_QUIT; returns its exit code, or 0 at once when there is no window.
  virtual INT32 STDMETHODCALLTYPE RunMessageLoop(INT32 showCommand) = 0;
  virtual HWND STDMETHODCALLTYPE GetWindowHandle() = 0;
  // Adopts window only while the object has none.
  virtual void STDMETHODCALLTYPE SetWindowHandle(HWND window) = 0;
  // A new font owned by the caller (null on failure), sized for the object's DPI unless
  // exactPointSize is true. The face name is cut to 31 characters.
  virtual HFONT STDMETHODCALLTYPE BuildFont(LPCWSTR faceName, INT32 pointSize, INT32 weight,
                                            BYTE italic, BYTE underline, BYTE strikeOut,
                                            BYTE charSet, bool exactPointSize) = 0;
  virtual FLOAT STDMETHODCALLTYPE GetDpi() = 0;
  // A negative dpi, or one that rounds to 0, selects the screen's DPI.
  virtual void STDMETHODCALLTYPE SetDpi(FLOAT dpi) = 0;
  // Creates a child control (parent null: the object's window). WS_CHILD is always added. A
  // non-null subclassProc replaces the control's procedure, and the old one is kept in the
  // control's "OLDWNDPROC" property. No font is set.
  virtual HWND STDMETHODCALLTYPE AddChildControl(LPCWSTR className, HWND parent, INT32 id,
                                                 LPCWSTR text, INT32 x, INT32 y, INT32 width,
                                                 INT32 height, DWORD style, DWORD exStyle,
                                                 LPVOID createParam, WNDPROC subclassProc,
                                                 bool inPixels) = 0;
  // Push button with the window font; style 0 gives a centred visible tab stop.
  virtual HWND STDMETHODCALLTYPE AddPushButton(HWND parent, INT32 id, LPCWSTR text, INT32 x,
                                               INT32 y, INT32 width, INT32 height, DWORD style,
                                               DWORD exStyle, WNDPROC subclassProc,
                                               bool inPixels) = 0;
  // Etched static frame, transparent unless an extended style is given; no font.
  virtual HWND STDMETHODCALLTYPE AddEtchedFrame(HWND parent, INT32 id, LPCWSTR text, INT32 x,
                                                INT32 y, INT32 width, INT32 height, DWORD style,
                                                DWORD exStyle, WNDPROC subclassProc,
                                                bool inPixels) = 0;
  // Automatic check box with the window font.
  virtual HWND STDMETHODCALLTYPE AddAutoCheckBox(HWND parent, INT32 id, LPCWSTR text, INT32 x,
                                                 INT32 y, INT32 width, INT32 height, DWORD style,
                                                 DWORD exStyle, WNDPROC subclassProc,
                                                 bool inPixels) = 0;
  // The DPI that the system gives the window: its own or its monitor's where the system knows
  // one, the screen's otherwise (also while there is no window).
  virtual FLOAT STDMETHODCALLTYPE QueryWindowDpi() = 0;
  // Builds the window font again, the same face and point size at the object's DPI, gives it to
  // the window and to every control that used the old one, and deletes the old one. Answers the
  // new font, which the object owns; null when it could not be made, and the old font stays.
  virtual HFONT STDMETHODCALLTYPE RebuildFont() = 0;
  // Places and sizes a control in logical units unless inPixels, as AddChildControl does; false
  // when the system refuses (no such control).
  virtual bool STDMETHODCALLTYPE MoveChildControl(HWND control, INT32 x, INT32 y, INT32 width,
                                                  INT32 height, bool inPixels) = 0;
};
ORB_DECLARE_UUID(IWindow, 0xe61d79bb, 0x0773, 0x4ff4, 0xb3, 0x37, 0x38, 0xc7, 0x39, 0x51, 0x6d,
                 0xdc)
