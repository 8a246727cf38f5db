#include "app/chart_layout.h"

#include "app/app_state.h"

D2D1_POINT_2F DipsPerPixel() {
  AppState& app = App();
  float dpiX = 96.0f;
  float dpiY = 96.0f;
  // Before the render target exists, the window's DPI stands in for it.
  if (app.WindowRenderTarget) {
    app.WindowRenderTarget->GetDpi(&dpiX, &dpiY);
  } else if (app.MainWindow) {
    dpiX = dpiY = app.MainWindow->GetDpi();
  }
  if (!(dpiX > 0.0f)) dpiX = 96.0f;
  if (!(dpiY > 0.0f)) dpiY = 96.0f;
  return D2D1_POINT_2F{96.0f / dpiX, 96.0f / dpiY};
}

void ResizeCharts(UINT width, UINT height) {
  AppState& app = App();
  if (app.WindowRenderTarget) {
    const D2D1_SIZE_U size{width, height};
    app.WindowRenderTarget->Resize(&size);
  }
  const float widthInDips = static_cast<float>(width) * DipsPerPixel().x;
  for (IPieChart* chart : {app.UpperChart.Get(), app.LowerChart.Get()}) {
    if (!chart) continue;
    chart->SetLeft((widthInDips - chart->GetWidth()) / 2.0f);
    chart->BuildGeometry();
  }
}
