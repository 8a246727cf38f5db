#include "app/pointer_tracking.h"

#include "app/app_state.h"
#include "app/chart_layout.h"
#include "app/keyboard_focus.h"
#include "app/selection.h"
#include "palette/irenderable.h"

namespace {

D2D1_POINT_2F ClientDips(LPARAM lParam) {
  const D2D1_POINT_2F scale = DipsPerPixel();
  return {static_cast<float>(LOWORD(lParam)) * scale.x,
          static_cast<float>(HIWORD(lParam)) * scale.y};
}

// The slice of chart under the point, by the chart's own hit test; -1 for none.
INT32 HitSlice(IPieChart* chart, FLOAT x, FLOAT y) {
  orb::ComPtr<IRenderable> renderable;
  if (chart == nullptr || FAILED(chart->QueryInterface(IID_PPV_ARGS(&renderable)))) return -1;
  return renderable->HitTest(x, y, App().D2DHelper->MakeIdentityMatrix());
}

bool InsideEllipse(IPieChart* chart, FLOAT x, FLOAT y) {
  const float dx = x - chart->GetCenterX();
  const float dy = y - chart->GetCenterY();
  const float rx = chart->GetRadiusX();
  const float ry = chart->GetRadiusY();
  return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1.0f;
}

// Selects the slice of chart under the point. True when that moved a new slice out.
bool TrackHover(HWND window, int which, FLOAT x, FLOAT y) {
  IPieChart* chart = ChartAt(which);
  if (chart == nullptr) return false;
  const INT32 hit = HitSlice(chart, x, y);
  if (hit >= 0) {
    return hit != chart->GetSelectedSlice() &&
           MoveSliceOut(window, chart, hit, SelectionCause::Pointer);
  }
  // Inside the ellipse, also where no slice covers the point, the selection stays.
  if (App().SelectedBy[static_cast<size_t>(which)] == SelectionCause::Pointer &&
      !InsideEllipse(chart, x, y)) {
    PutSliceBack(window, chart);
  }
  return false;
}

}  // namespace

ChartPoint WhatPointerFinds(FLOAT x, FLOAT y) {
  for (int which = 0; which < 2; ++which) {
    const INT32 hit = HitSlice(ChartAt(which), x, y);
    if (hit >= 0) return ChartPoint{which, hit};
  }
  for (int which = 0; which < 2; ++which) {
    IPieChart* chart = ChartAt(which);
    if (chart != nullptr && InsideEllipse(chart, x, y)) return ChartPoint{which, -1};
  }
  return {};
}

void TrackPointer(HWND window, LPARAM lParam) {
  AppState& app = App();
  if (!app.PointerTracked) {
    TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, window, 0};
    app.PointerTracked = TrackMouseEvent(&leave) != FALSE;
  }
  // The system also reports a pointer that did not move (a window shown or hidden under it):
  // that must not take the slice from the keyboard.
  if (lParam == app.LastPointerMove) return;
  app.LastPointerMove = lParam;
  if (!app.D2DHelper) return;
  const D2D1_POINT_2F point = ClientDips(lParam);
  // The lower chart only when the upper one moved no new slice out: one movement can put the
  // upper chart's slice back and move one of the lower chart out.
  if (!TrackHover(window, 0, point.x, point.y)) TrackHover(window, 1, point.x, point.y);
}

void PointerLeft(HWND window) {
  AppState& app = App();
  app.PointerTracked = false;
  app.LastPointerMove = -1;
  for (int which = 0; which < 2; ++which) {
    if (app.SelectedBy[static_cast<size_t>(which)] == SelectionCause::Pointer) {
      PutSliceBack(window, ChartAt(which));
    }
  }
}

void ClickCharts(HWND window, LPARAM lParam) {
  if (!App().D2DHelper) return;
  const D2D1_POINT_2F point = ClientDips(lParam);
  const ChartPoint found = WhatPointerFinds(point.x, point.y);
  if (found.chart >= 0) FocusChart(window, found.chart);
}
