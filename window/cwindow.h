#pragma once
// CWindow: creates at most one window, from a window class that it registers for it, with the
// font that the window and its button controls use, and turns logical units (pixels at 96 DPI)
// into device pixels. It deletes the font and tries to unregister the class when it is destroyed
// (the class goes only if the window was made and is gone by then); it never destroys the window
// or its controls, which live until their window is destroyed, and keeps the window's handle
// after that. User-interface thread only.

#include <windows.h>

#include "com/com_object.h"
#include "window/gdi_handles.h"
#include "window/host_class.h"
#include "window/iwindow.h"

// A style or extended style of this value asks an operation for its default.
constexpr DWORD kUseDefaultStyle = 0xFFFFFFFF;

class CWindow final : public orb::ComObject<IWindow> {
 public:
  // osVersion picks the default font: "Segoe UI" 9 from 6 on, "Tahoma" 8 below.
  explicit CWindow(double osVersion = OsVersionNumber());
  ~CWindow() override;

  HWND STDMETHODCALLTYPE CreateHostWindow(HWND parent, LPCWSTR caption, INT32 x, INT32 y,
                                          INT32 width, INT32 height, DWORD style, DWORD exStyle,
                                          WNDPROC windowProc, bool inPixels) override;
  void STDMETHODCALLTYPE SendSizeMessage() override;
  INT32 STDMETHODCALLTYPE QueryWindowWidth(bool inPixels) override;
  INT32 STDMETHODCALLTYPE QueryClientWidth(bool inPixels) override;
  INT32 STDMETHODCALLTYPE QueryClientHeight(bool inPixels) override;
  void STDMETHODCALLTYPE CentreWindow(HWND window, HWND reference) override;
  void STDMETHODCALLTYPE ResizeClientArea(INT32 width, INT32 height) override;
  INT32 STDMETHODCALLTYPE RunMessageLoop(INT32 showCommand) override;
  HWND STDMETHODCALLTYPE GetWindowHandle() override;
  void STDMETHODCALLTYPE SetWindowHandle(HWND window) override;
  HFONT STDMETHODCALLTYPE BuildFont(LPCWSTR faceName, INT32 pointSize, INT32 weight, BYTE italic,
                                    BYTE underline, BYTE strikeOut, BYTE charSet,
                                    bool exactPointSize) override;
  FLOAT STDMETHODCALLTYPE GetDpi() override;
  void STDMETHODCALLTYPE SetDpi(FLOAT dpi) override;
  HWND STDMETHODCALLTYPE AddChildControl(LPCWSTR className, HWND parent, INT32 id, LPCWSTR text,
                                         INT32 x, INT32 y, INT32 width, INT32 height, DWORD style,
                                         DWORD exStyle, LPVOID createParam, WNDPROC subclassProc,
                                         bool inPixels) override;
  HWND STDMETHODCALLTYPE AddPushButton(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y,
                                       INT32 width, INT32 height, DWORD style, DWORD exStyle,
                                       WNDPROC subclassProc, bool inPixels) override;
  HWND STDMETHODCALLTYPE AddEtchedFrame(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y,
                                        INT32 width, INT32 height, DWORD style, DWORD exStyle,
                                        WNDPROC subclassProc, bool inPixels) override;
  HWND STDMETHODCALLTYPE AddAutoCheckBox(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y,
                                         INT32 width, INT32 height, DWORD style, DWORD exStyle,
                                         WNDPROC subclassProc, bool inPixels) override;
  FLOAT STDMETHODCALLTYPE QueryWindowDpi() override;
  HFONT STDMETHODCALLTYPE RebuildFont() override;
  bool STDMETHODCALLTYPE MoveChildControl(HWND control, INT32 x, INT32 y, INT32 width, INT32 height,
                                          bool inPixels) override;

  // Read-only views of the object's state for its owner.
  HINSTANCE GetInstanceHandle() const { return InstanceHandle; }
  HFONT GetWindowFont() const { return WindowFont.get(); }
  float GetHorizontalScale() const { return HorizontalScale; }
  float GetVerticalScale() const { return VerticalScale; }
  ATOM GetClassAtom() const { return ClassAtom; }
  INT32 GetFontPointSize() const { return FontPointSize; }
  LPCWSTR GetFontFaceName() const { return FontFaceName; }
  // Name of the registered class as read back from the window; empty until then.
  LPCWSTR GetRecordedClassName() const { return ClassName; }

 private:
  INT32 ScaleX(INT32 value) const;
  // A "Button" class control that takes the window font, with the styles already resolved.
  HWND AddButtonWithFont(HWND parent, INT32 id, LPCWSTR text, INT32 x, INT32 y, INT32 width,
                         INT32 height, DWORD style, DWORD exStyle, WNDPROC subclassProc,
                         bool inPixels);
  INT32 ScaleY(INT32 value) const;

  HWND WindowHandle = nullptr;
  HINSTANCE InstanceHandle = nullptr;
  UniqueFont WindowFont;
  INT32 Dpi = 96;
  float HorizontalScale = 1.0f;
  float VerticalScale = 1.0f;
  ATOM ClassAtom = 0;
  INT32 FontPointSize = 0;
  WCHAR ClassName[260] = {};
  WCHAR FontFaceName[32] = {};
};

// Makes a CWindow into *window; E_OUTOFMEMORY when it cannot be made.
HRESULT NewWindow(IWindow** window);
