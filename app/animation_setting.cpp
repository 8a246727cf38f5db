#include "app/animation_setting.h"

#include "app/app_state.h"

bool ReadClientAreaAnimation() {
  BOOL animate = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animate, 0)) return true;
  return animate != FALSE;
}

void StartExplode(HWND window, IPieChart* chart) {
  if (App().ClientAreaAnimation) {
    SetTimer(window, ExplodeTimerId, ExplodeTimerPeriodMs, nullptr);
    return;
  }
  KillTimer(window, ExplodeTimerId);
  chart->SetExplodeOffset(MaxExplodeOffset);
  chart->BuildGeometry();
}
