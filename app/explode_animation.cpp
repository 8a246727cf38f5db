#include "app/explode_animation.h"

#include <algorithm>
#include <cmath>

#include "app/app_state.h"

namespace {

constexpr float SecondsPerDay = 86400.0f;
constexpr float ExplodeDurationSeconds = 0.1f;

void AnimateExplode(HWND window, IPieChart* chart) {
  const float elapsed = SecondsSince(chart->GetSelectionTime(), App().Platform.clock());
  const double progress = std::min(elapsed, ExplodeDurationSeconds) / ExplodeDurationSeconds;
  // nearbyint rounds halves to even.
  const auto offset = static_cast<INT32>(std::nearbyint(progress * MaxExplodeOffset));
  chart->SetExplodeOffset(offset);
  chart->BuildGeometry();
  InvalidateRect(window, nullptr, FALSE);
  if (chart->GetExplodeOffset() == MaxExplodeOffset) KillTimer(window, ExplodeTimerId);
}

}  // namespace

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
}

void TickExplode(HWND window) {
  for (IPieChart* chart : {ChartAt(0), ChartAt(1)}) {
    if (chart != nullptr && chart->GetSelectedSlice() > -1) {
      AnimateExplode(window, chart);
      return;
    }
  }
  KillTimer(window, ExplodeTimerId);
}

float SecondsSince(float earlier, float later) {
  const float elapsed = later - earlier;
  return elapsed < 0.0f ? elapsed + SecondsPerDay : elapsed;
}
