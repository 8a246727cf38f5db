#include "app/render_pass.h"

#include "app/app_state.h"
#include "app/focus_rectangle.h"
#include "palette/irenderable.h"
#include "palette/opaque_brush.h"

namespace {

// Calls action on the IRenderable side of object, if it has one.
template <typename Object, typename Action>
void WithRenderable(const orb::ComPtr<Object>& object, Action action) {
  orb::ComPtr<IRenderable> renderable;
  if (object && SUCCEEDED(object.As(&renderable))) action(renderable.Get());
}

// The focus rectangle of the chart that has the keyboard focus, unless focus cues are hidden.
void DrawChartFocus(ID2D1RenderTarget* target) {
  AppState& app = App();
  IPieChart* chart = ChartAt(FocusedChart());
  if (chart == nullptr || app.FocusCuesHidden || !app.FocusInnerBrush || !app.FocusOuterBrush) {
    return;
  }
  FLOAT dpiX = 96.0f;
  FLOAT dpiY = 96.0f;
  target->GetDpi(&dpiX, &dpiY);
  const D2D1_RECT_F rectangle{chart->GetLeft(), chart->GetTop(),
                              chart->GetLeft() + chart->GetWidth(),
                              chart->GetTop() + chart->GetHeight()};
  DrawFocusRectangle(
      target,
      FocusRectangleAround(rectangle, dpiX / 96.0f, app.FocusBorderWidth, app.FocusBorderHeight),
      app.FocusInnerBrush.Get(), app.FocusOuterBrush.Get());
}

}  // namespace

HRESULT EnsureDeviceResources(HWND window) {
  AppState& app = App();
  if (app.WindowRenderTarget) return S_OK;
  // A paint before the drawing objects exist (or after they failed to be made) draws nothing.
  if (!app.D2DFactory || !app.D2DHelper) return E_FAIL;

  RECT client{};
  GetClientRect(window, &client);
  ID2DHelper& helper = *app.D2DHelper.Get();
  // The window's DPI, which follows its monitor; 0 (the factory's, the system DPI) would draw the
  // charts at the wrong size on a monitor of another scaling and after a change of DPI.
  const FLOAT dpi = app.MainWindow ? app.MainWindow->GetDpi() : 0.0f;
  const D2D1_RENDER_TARGET_PROPERTIES targetProperties =
      helper.MakeRenderTargetProperties(D2D1_RENDER_TARGET_TYPE_DEFAULT, nullptr, dpi, dpi,
                                        D2D1_RENDER_TARGET_USAGE_NONE, D2D1_FEATURE_LEVEL_DEFAULT);
  const D2D1_SIZE_U pixelSize = helper.MakeSizeU(static_cast<UINT32>(client.right - client.left),
                                                 static_cast<UINT32>(client.bottom - client.top));
  const D2D1_HWND_RENDER_TARGET_PROPERTIES windowProperties =
      helper.MakeHwndRenderTargetProperties(window, &pixelSize, D2D1_PRESENT_OPTIONS_NONE);

  const HRESULT result = app.D2DFactory->CreateHwndRenderTarget(
      &targetProperties, &windowProperties, &app.WindowRenderTarget);
  if (result != S_OK || !app.WindowRenderTarget) {
    app.WindowRenderTarget.Reset();
    return result;
  }

  ID2D1RenderTarget* target = app.WindowRenderTarget.Get();
  for (const auto& palette : app.PaletteTable) {
    WithRenderable(palette, [&](IRenderable* r) { r->CreateDeviceResources(target); });
  }
  WithRenderable(app.UpperChart, [&](IRenderable* r) { r->CreateDeviceResources(target); });
  WithRenderable(app.LowerChart, [&](IRenderable* r) { r->CreateDeviceResources(target); });
  MakeFocusBrushes();
  return S_OK;
}

void MakeFocusBrushes() {
  AppState& app = App();
  ID2D1RenderTarget* target = app.WindowRenderTarget.Get();
  if (target == nullptr || !app.D2DHelper) return;
  const auto brush = [&](COLORREF colour) {
    return MakeOpaqueBrush(target, app.D2DHelper.Get(), GetRValue(colour), GetGValue(colour),
                           GetBValue(colour));
  };
  app.FocusInnerBrush = brush(app.Colours.focusInner);
  app.FocusOuterBrush = brush(app.Colours.focusOuter);
}

void DiscardAllDeviceResources() {
  AppState& app = App();
  app.WindowRenderTarget.Reset();
  app.FocusInnerBrush.Reset();
  app.FocusOuterBrush.Reset();
  WithRenderable(app.UpperChart, [](IRenderable* r) { r->DiscardDeviceResources(); });
  WithRenderable(app.LowerChart, [](IRenderable* r) { r->DiscardDeviceResources(); });
  for (const auto& palette : app.PaletteTable) {
    WithRenderable(palette, [](IRenderable* r) { r->DiscardDeviceResources(); });
  }
}

HRESULT RenderCharts(HWND window) {
  AppState& app = App();
  HRESULT result = EnsureDeviceResources(window);
  // Our own reference: a device loss below drops the shell's while we still use the target.
  const orb::ComPtr<ID2D1HwndRenderTarget> target = app.WindowRenderTarget;
  if (!target) return result;
  if (result != S_OK || (target->CheckWindowState() & D2D1_WINDOW_STATE_OCCLUDED) != 0) {
    return result;
  }

  ID2DHelper& helper = *app.D2DHelper.Get();
  target->BeginDraw();
  target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
  const D2D1_MATRIX_3X2_F identity = helper.MakeIdentityMatrix();
  target->SetTransform(&identity);
  const COLORREF colour = app.Colours.background;
  const D2D1_COLOR_F background =
      helper.MakeColor(static_cast<FLOAT>(GetRValue(colour)) / 255.0f,
                       static_cast<FLOAT>(GetGValue(colour)) / 255.0f,
                       static_cast<FLOAT>(GetBValue(colour)) / 255.0f, 1.0f);
  target->Clear(&background);
  WithRenderable(app.UpperChart, [&](IRenderable* r) { r->Draw(window); });
  WithRenderable(app.LowerChart, [&](IRenderable* r) { r->Draw(window); });
  DrawChartFocus(target.Get());
  result = target->EndDraw(nullptr, nullptr);
  if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
    result = S_OK;
    DiscardAllDeviceResources();
    // The lost frame is drawn again on new resources, but not a second lost one in a row: a
    // device that is lost at every frame must not turn painting into a busy loop.
    if (!app.LastFrameLost) InvalidateRect(window, nullptr, FALSE);
    app.LastFrameLost = true;
  } else if (SUCCEEDED(result)) {
    app.LastFrameLost = false;
  }
  return result;
}
