#include "app/keyboard_focus.h"

#include "app/app_state.h"
#include "app/selection.h"

namespace {

constexpr wchar_t kOriginalProc[] = L"OLDWNDPROC";

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

bool IsTabDown(const MSG* message) {
  return message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_TAB;
}

// What the keyboard user now sees: focus cues, as the dialog manager shows them on Tab.
void ShowFocusCues(HWND window) {
  SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// The chart that Tab (or Shift+Tab) leads to from control, or -1 when it leads to a control.
int ChartAfterControl(HWND control, bool backwards) {
  const int id = GetDlgCtrlID(control);
  if (id == IdGray && !backwards) return 0;
  if (id == IdRegen && backwards) return 1;
  return -1;
}

// The slice an arrow, Home or End key selects in a chart of count slices where selected is out
// (-1 for none); -1 for any other key.
INT32 SliceForKey(WPARAM key, INT32 selected, INT32 count) {
  switch (key) {
    case VK_RIGHT:
    case VK_DOWN:
      return selected < 0 ? 0 : (selected + 1) % count;
    case VK_LEFT:
    case VK_UP:
      return selected < 0 ? count - 1 : (selected + count - 1) % count;
    case VK_HOME:
      return 0;
    case VK_END:
      return count - 1;
    default:
      return -1;
  }
}

void MoveTabStop(HWND window, bool backwards) {
  const int chart = FocusedChart();
  if (!backwards) {
    if (chart == 0) {
      FocusChart(window, 1);
    } else {
      SetFocus(GetDlgItem(window, IdRegen));
    }
  } else if (chart == 0) {
    SetFocus(GetDlgItem(window, IdGray));
  } else {
    FocusChart(window, chart == 1 ? 0 : 1);
  }
  ShowFocusCues(window);
}

}  // namespace

void FocusChart(HWND window, int chart) {
  AppState& app = App();
  const int before = FocusedChart();
  if (before >= 0 && before != chart) PutSliceBack(window, ChartAt(before));
  app.FocusChart = chart;
  if (GetFocus() != window) SetFocus(window);
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT MainWindowDialogCode(const MSG* message) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTTAB;
  if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE &&
      FocusedChart() >= 0) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

bool PressChartKey(HWND window, WPARAM key) {
  if (key == VK_TAB) {
    MoveTabStop(window, ShiftDown());
    return true;
  }
  const int focused = FocusedChart();
  IPieChart* chart = ChartAt(focused);
  if (chart == nullptr) return false;
  if (key == VK_ESCAPE) {
    PutSliceBack(window, chart);
    return true;
  }
  const INT32 count = chart->GetSliceCount();
  if (count <= 0) return false;
  const INT32 slice = SliceForKey(key, chart->GetSelectedSlice(), count);
  if (slice < 0) return false;
  MoveSliceOut(window, chart, slice, SelectionCause::Keyboard);
  ShowFocusCues(window);
  return true;
}

void NoteFocusLost(HWND window, HWND newFocus) {
  AppState& app = App();
  if (app.FocusChart < 0) return;
  PutSliceBack(window, ChartAt(app.FocusChart));
  // Within the window the focus went to a control, so no chart has it when the window returns.
  if (newFocus != nullptr && IsChild(window, newFocus)) app.FocusChart = -1;
  InvalidateRect(window, nullptr, FALSE);
}

bool NoteActivation(HWND window, WPARAM state) {
  AppState& app = App();
  if (LOWORD(state) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    app.FocusToRestore = focus == window || IsChild(window, focus) ? focus : nullptr;
    return false;
  }
  const HWND restore = app.FocusToRestore;
  app.FocusToRestore = nullptr;
  if (restore == nullptr || !IsWindow(restore) || IsIconic(window)) return false;
  SetFocus(restore);
  return true;
}

void ReadFocusCues(HWND window) {
  App().FocusCuesHidden = (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void NoteFocusCues(HWND window, WPARAM change) {
  AppState& app = App();
  if ((HIWORD(change) & UISF_HIDEFOCUS) == 0) return;
  const bool before = app.FocusCuesHidden;
  switch (LOWORD(change)) {
    case UIS_SET:
      app.FocusCuesHidden = true;
      break;
    case UIS_CLEAR:
      app.FocusCuesHidden = false;
      break;
    default:  // UIS_INITIALIZE: the system decides from the last input
      ReadFocusCues(window);
      break;
  }
  if (app.FocusCuesHidden != before) InvalidateRect(window, nullptr, FALSE);
}

void ReadFocusBorder() {
  AppState& app = App();
  UINT width = 1;
  UINT height = 1;
  if (!SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0)) width = 1;
  if (!SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &height, 0)) height = 1;
  app.FocusBorderWidth = width;
  app.FocusBorderHeight = height;
}

LRESULT CALLBACK TabStopControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(control, kOriginalProc));
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcW(original, control, message, wParam, lParam);
      if (IsTabDown(reinterpret_cast<const MSG*>(lParam)) &&
          ChartAfterControl(control, ShiftDown()) >= 0) {
        code |= DLGC_WANTTAB;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        const int chart = ChartAfterControl(control, ShiftDown());
        if (chart >= 0) {
          const HWND window = GetParent(control);
          FocusChart(window, chart);
          ShowFocusCues(window);
          return 0;
        }
      }
      break;
    case WM_NCDESTROY:
      RemovePropW(control, kOriginalProc);
      break;
    default:
      break;
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}
