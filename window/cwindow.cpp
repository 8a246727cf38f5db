#include "window/cwindow.h"

#include <commctrl.h>

#include <climits>
#include <cmath>
#include <utility>

#include "window/dpi_lookup.h"
#include "window/round_half_even.h"

namespace {

constexpr DWORD kDefaultHostStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kDefaultHostExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
constexpr size_t kFaceNameLength = 31;

// Copies at most 31 characters of a face name; the rest of the buffer stays zero.
void CopyFaceName(WCHAR (&target)[kFaceNameLength + 1], const wchar_t* name) {
  for (size_t i = 0; name != nullptr && name[i] != L'\0' && i < kFaceNameLength; ++i) {
    target[i] = name[i];
  }
}

HFONT MakeFont(LPCWSTR faceName, LONG height, INT32 weight, BYTE italic, BYTE underline,
               BYTE strikeOut, BYTE charSet) {
  LOGFONTW font = {};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeOut;
  font.lfCharSet = charSet;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  CopyFaceName(font.lfFaceName, faceName);
  return CreateFontIndirectW(&font);
}

struct FontSwap {
  HFONT from;
  HFONT to;
};

// Gives every descendant that draws with the old font the new one, so that the old one can go.
BOOL CALLBACK SwapFont(HWND child, LPARAM data) {
  const auto* swap = reinterpret_cast<const FontSwap*>(data);
  if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == swap->from) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(swap->to), TRUE);
  }
  return TRUE;
}

}  // namespace

CWindow::CWindow(double osVersion) {
  InstanceHandle = GetModuleHandleW(nullptr);
  SetDpi(-1.0f);
  const bool vistaOrLater = osVersion >= 6.0;
  if (FontFaceName[0] == L'\0') {
    CopyFaceName(FontFaceName, vistaOrLater ? L"Segoe UI" : L"Tahoma");
  }
  if (FontPointSize == 0) FontPointSize = vistaOrLater ? 9 : 8;

  // The record is just these two DWORDs, so its size is 8. 0x7FFF sets every class flag from
  // ICC_LISTVIEW_CLASSES (0x0001) up to ICC_STANDARD_CLASSES (0x4000): all of them but
  // ICC_LINK_CLASS (0x8000, the SysLink control).
  INITCOMMONCONTROLSEX controls;
  controls.dwSize = sizeof(controls);
  controls.dwICC = 0x7FFF;
  InitCommonControlsEx(&controls);
}

CWindow::~CWindow() {
  // Fails harmlessly while the window still exists; the class then stays registered.
  if (ClassName[0] != L'\0') UnregisterClassW(ClassName, InstanceHandle);
}

HWND CWindow::CreateHostWindow(HWND parent, LPCWSTR caption, INT32 x, INT32 y, INT32 width,
                               INT32 height, DWORD style, DWORD exStyle, WNDPROC windowProc,
                               bool inPixels) {
  if (WindowHandle != nullptr) return nullptr;
  if (width == 0) {
    width = CW_USEDEFAULT;
    if (x == 0) x = CW_USEDEFAULT;
  }

  ClassAtom = RegisterHostClass(ClassName, InstanceHandle, windowProc);
  if (ClassAtom == 0) return nullptr;

  if (style == 0 || style == kUseDefaultStyle) style = kDefaultHostStyle;
  if (exStyle == 0 || exStyle == kUseDefaultStyle) exStyle = kDefaultHostExStyle;

  // A font left by an earlier attempt whose window was not created is replaced, not leaked.
  WindowFont.reset(BuildFont(FontFaceName, FontPointSize, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, false));

  if (!inPixels) {
    if (x != CW_USEDEFAULT) x = ScaleX(x);
    if (width != CW_USEDEFAULT) width = ScaleX(width);
    if (y != CW_USEDEFAULT) y = ScaleY(y);
    if (height != CW_USEDEFAULT) height = ScaleY(height);
  }

  // The creation parameter points at a variable holding the object's address; it is only good
  // while CreateWindowExW runs.
  CWindow* self = this;
  WindowHandle = CreateWindowExW(exStyle, MAKEINTATOM(ClassAtom), caption, style, x, y, width,
                                 height, parent, nullptr, InstanceHandle, &self);
  if (WindowHandle == nullptr) return nullptr;

  // The class has 8 bytes of extra memory, enough for a full pointer.
  SetClassLongPtrW(WindowHandle, 0, reinterpret_cast<LONG_PTR>(this));
  GetClassNameW(WindowHandle, ClassName, ARRAYSIZE(ClassName));
  SendMessageW(WindowHandle, WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont.get()), FALSE);
  return WindowHandle;
}

HWND CWindow::GetWindowHandle() { return WindowHandle; }

void CWindow::SetWindowHandle(HWND window) {
  if (WindowHandle == nullptr) WindowHandle = window;
}

HFONT CWindow::BuildFont(LPCWSTR faceName, INT32 pointSize, INT32 weight, BYTE italic,
                         BYTE underline, BYTE strikeOut, BYTE charSet, bool exactPointSize) {
  const int screenDpi = static_cast<int>(ScreenDpi(LOGPIXELSY));
  if (!exactPointSize) {
    // Sized for the object's DPI rather than the screen's; truncating like the integer division
    // it is, and kept inside INT32.
    const long long scaled = static_cast<long long>(Dpi) * pointSize / screenDpi;
    pointSize = scaled > INT_MAX   ? INT_MAX
                : scaled < INT_MIN ? INT_MIN
                                   : static_cast<INT32>(scaled);
  }

  const LONG height = -MulDiv(pointSize, screenDpi, 72);
  return MakeFont(faceName, height, weight, italic, underline, strikeOut, charSet);
}

HFONT CWindow::RebuildFont() {
  // The character height of the point size at the object's DPI itself: converting the point size
  // to the screen's DPI first, as BuildFont does, would lose up to a pixel.
  const HFONT font = MakeFont(FontFaceName, -MulDiv(FontPointSize, Dpi, 72), FW_NORMAL, FALSE,
                              FALSE, FALSE, DEFAULT_CHARSET);
  if (font == nullptr) return nullptr;
  // Deleted on return, when nothing draws with it any more.
  const UniqueFont old = std::exchange(WindowFont, UniqueFont(font));
  if (WindowHandle != nullptr) {
    SendMessageW(WindowHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (old != nullptr) {
      FontSwap swap{old.get(), font};
      EnumChildWindows(WindowHandle, SwapFont, reinterpret_cast<LPARAM>(&swap));
    }
  }
  return font;
}

FLOAT CWindow::GetDpi() { return static_cast<FLOAT>(Dpi); }

FLOAT CWindow::QueryWindowDpi() { return static_cast<FLOAT>(DpiOfWindow(WindowHandle)); }

void CWindow::SetDpi(FLOAT dpi) {
  const INT32 rounded = orb::RoundHalfEven(dpi);
  if (rounded <= 0 || !std::isfinite(dpi)) {
    // Negative asks for the screen's DPI. So does anything that rounds to 0: factors of 0 would
    // make every logical measurement a division by zero.
    Dpi = static_cast<INT32>(ScreenDpi(LOGPIXELSX));
    HorizontalScale = static_cast<float>(Dpi) / 96.0f;
    VerticalScale = HorizontalScale;
  } else {
    Dpi = rounded;
    HorizontalScale = dpi / 96.0f;
    VerticalScale = HorizontalScale;
  }
}

INT32 CWindow::ScaleX(INT32 value) const {
  return orb::RoundHalfEven(static_cast<double>(value) * HorizontalScale);
}

INT32 CWindow::ScaleY(INT32 value) const {
  return orb::RoundHalfEven(static_cast<double>(value) * VerticalScale);
}

HRESULT NewWindow(IWindow** window) {
  *window = nullptr;
  auto made = orb::MakeComObject<CWindow>();
  if (!made) return E_OUTOFMEMORY;
  *window = made.Detach();
  return S_OK;
}
