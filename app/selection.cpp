#include "app/selection.h"

#include "app/accessibility.h"
#include "app/explode_animation.h"
#include "app/slice_tooltip.h"

bool MoveSliceOut(HWND window, IPieChart* chart, INT32 index, SelectionCause cause) {
  const int which = IndexOfChart(chart);
  if (which < 0 || index < 0 || index >= chart->GetSliceCount()) return false;
  const bool moved = index != chart->GetSelectedSlice();
  if (moved) {
    // One timer serves both charts, so a new selection in one chart drops the other's at once:
    // at most one slice is out, and no stale selection can stop the running animation.
    PutSliceBack(window, ChartAt(1 - which));
    chart->SelectSlice(index);
    StartExplode(window, chart);
    chart->BuildGeometry();
    InvalidateRect(window, nullptr, FALSE);
  }
  App().SelectedBy[static_cast<size_t>(which)] = cause;
  ShowSliceTooltip(window, which, index, cause);
  RenewAccessibleTree();
  return moved;
}

void PutSliceBack(HWND window, IPieChart* chart) {
  if (chart == nullptr || chart->GetSelectedSlice() < 0) return;
  KillTimer(window, ExplodeTimerId);
  chart->SelectSlice(-1);
  chart->BuildGeometry();
  InvalidateRect(window, nullptr, FALSE);
  HideSliceTooltip();
  RenewAccessibleTree();
}
