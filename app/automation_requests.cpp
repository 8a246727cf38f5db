#include "app/automation_requests.h"

#include "app/app_state.h"
#include "app/chart_layout.h"
#include "app/keyboard_focus.h"
#include "app/pointer_tracking.h"
#include "app/selection.h"

void CarryOutRequest(HWND window, const AutomationRequest& request) {
  IPieChart* chart = ChartAt(request.chart);
  if (chart == nullptr || chart->GetValuesGeneration() != request.generation) return;
  switch (request.kind) {
    case AutomationRequest::Kind::Select:
      MoveSliceOut(window, chart, request.slice, SelectionCause::Automation);
      break;
    case AutomationRequest::Kind::PutBack:
      if (chart->GetSelectedSlice() == request.slice) PutSliceBack(window, chart);
      break;
    case AutomationRequest::Kind::Focus:
      FocusChart(window, request.chart);
      if (request.slice >= 0) MoveSliceOut(window, chart, request.slice, SelectionCause::Keyboard);
      break;
  }
}

LRESULT AnswerPoint(HWND window, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<LONG>(wParam), static_cast<LONG>(lParam)};
  ScreenToClient(window, &point);
  const D2D1_POINT_2F scale = DipsPerPixel();
  const ChartPoint found = WhatPointerFinds(static_cast<FLOAT>(point.x) * scale.x,
                                            static_cast<FLOAT>(point.y) * scale.y);
  IPieChart* chart = ChartAt(found.chart);
  if (chart == nullptr) return PackPointAnswer({});
  return PackPointAnswer({found.chart, found.slice, chart->GetValuesGeneration()});
}
