#include "app/main_window_proc.h"

#include "app/accessibility.h"
#include "app/app_objects.h"
#include "app/app_state.h"
#include "app/automation_requests.h"
#include "app/chart_layout.h"
#include "app/contrast_theme.h"
#include "app/dpi_change.h"
#include "app/explode_animation.h"
#include "app/keyboard_focus.h"
#include "app/pointer_tracking.h"
#include "app/render_pass.h"
#include "app/slice_tooltip.h"

namespace {

void ToggleGray(HWND window) {
  AppState& app = App();
  if (!app.UpperChart) return;
  const bool checked = IsDlgButtonChecked(window, IdGray) == BST_CHECKED;
  orb::ComPtr<IPalette> palette;
  app.UpperChart->GetPalette(&palette);
  if (palette) palette->SetGray(checked ? -1 : 0);
  InvalidateRect(window, nullptr, FALSE);
}

// The contrast setting and the system's colours read again; the controls hear of the change
// too, as common controls must.
void FollowColours(HWND window) {
  for (const int id : {IdRegen, IdGray}) {
    if (const HWND control = GetDlgItem(window, id)) SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
  }
  const ChartColours colours = ReadChartColours(App().Platform.highContrast);
  if (!(colours == App().Colours)) ApplyChartColours(window, colours);
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState& app = App();
  switch (message) {
    case WM_CREATE:
      StartAccessibleTree(window);
      app.ClientAreaAnimation = ReadClientAreaAnimation();
      ReadFocusBorder();
      ReadFocusCues(window);
      app.Colours = ReadChartColours(app.Platform.highContrast);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IdRegen:
          RegenerateCharts();
          HideSliceTooltip();
          return 0;
        case IdGray:
          ToggleGray(window);
          return 0;
        default:
          return DefWindowProcW(window, message, wParam, lParam);
      }
    case WM_ERASEBKGND:
      return 0;
    case WM_TIMER:
      TickExplode(window);
      return 0;
    case WM_MOUSEMOVE:
      TrackPointer(window, lParam);
      return 0;
    case WM_MOUSELEAVE:
      PointerLeft(window);
      return 0;
    case WM_LBUTTONDOWN:
      ClickCharts(window, lParam);
      return 0;
    case WM_GETDLGCODE:
      return MainWindowDialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
      if (PressChartKey(window, wParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFOCUS:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      NoteFocusLost(window, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) HideSliceTooltip();
      if (NoteActivation(window, wParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CHANGEUISTATE:
      // The top-level window turns a change asked of it into the update of itself and its
      // controls, as the system's default does (which Wine's lacks).
      return SendMessageW(window, WM_UPDATEUISTATE, wParam, 0);
    case WM_UPDATEUISTATE:
      NoteFocusCues(window, wParam);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETCLIENTAREAANIMATION) app.ClientAreaAnimation = ReadClientAreaAnimation();
      if (wParam == SPI_SETFOCUSBORDERWIDTH || wParam == SPI_SETFOCUSBORDERHEIGHT) {
        ReadFocusBorder();
        InvalidateRect(window, nullptr, FALSE);
      }
      if (wParam == SPI_SETHIGHCONTRAST) FollowColours(window);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SYSCOLORCHANGE:
      FollowColours(window);
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) HideSliceTooltip();
      ResizeCharts(LOWORD(lParam), HIWORD(lParam));
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
      ChangeDpi(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      FollowDpiChange(window);
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(window, wParam, lParam);
    case TreeRequestMessage:
      CarryOutRequest(window, UnpackRequest(wParam, lParam));
      return 0;
    case TreePointMessage:
      return AnswerPoint(window, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      RenderCharts(window);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      StopAccessibleTree(window);
      ForgetSliceTooltip();
      app.FocusToRestore = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Dispatch(window, message, wParam, lParam);
  // The tree observes whatever the message changed of what the charts show.
  RenewAccessibleTree();
  return result;
}
