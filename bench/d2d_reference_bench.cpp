// The benchmark scene drawn straight with Direct2D, its arcs replaced by cubic Béziers so that
// Wine's own d2d1 (which cannot draw arcs) draws it too. Run under Wine's d2d1 it is the Wine
// reference; run under the project's stand-in it shows what the stand-in makes of the same calls.
// Usage: d2d_reference_bench KEY LABEL WIDTH HEIGHT FRAMES

#include <d2d1.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <wrl/client.h>

#include "bench/figures.h"
#include "bench/pie_scene.h"
#include "bench/stopwatch.h"

namespace {

using Microsoft::WRL::ComPtr;

D2D1_POINT_2F OnEllipse(const bench::ChartShape& chart, double radians) {
  return {static_cast<FLOAT>(chart.cx + chart.rx * std::sin(radians)),
          static_cast<FLOAT>(chart.cy + chart.ry * std::cos(radians))};
}

// d/dθ of the point at θ.
D2D1_POINT_2F Tangent(const bench::ChartShape& chart, double radians) {
  return {static_cast<FLOAT>(chart.rx * std::cos(radians)),
          static_cast<FLOAT>(-chart.ry * std::sin(radians))};
}

// A wedge from the centre along the rim from start to end degrees, the rim in cubic Béziers of
// at most 45 degrees each (the usual tangent-length rule, 4/3 tan(step / 4)).
ComPtr<ID2D1PathGeometry> MakeWedge(ID2D1Factory* factory, const bench::ChartShape& chart,
                                    float start, float end) {
  ComPtr<ID2D1PathGeometry> path;
  if (FAILED(factory->CreatePathGeometry(&path))) return nullptr;
  ComPtr<ID2D1GeometrySink> sink;
  if (FAILED(path->Open(&sink))) return nullptr;
  const double pi = 3.14159265358979323846;
  const double from = start * pi / 180.0;
  const double to = end * pi / 180.0;
  const int steps = std::max(1, static_cast<int>(std::ceil((to - from) / (pi / 4.0))));
  const double step = (to - from) / steps;
  const double k = 4.0 / 3.0 * std::tan(step / 4.0);
  sink->BeginFigure({chart.cx, chart.cy}, D2D1_FIGURE_BEGIN_FILLED);
  sink->AddLine(OnEllipse(chart, from));
  for (int i = 0; i < steps; ++i) {
    const double a = from + step * i;
    const double b = a + step;
    const D2D1_POINT_2F p0 = OnEllipse(chart, a);
    const D2D1_POINT_2F p3 = OnEllipse(chart, b);
    const D2D1_POINT_2F t0 = Tangent(chart, a);
    const D2D1_POINT_2F t3 = Tangent(chart, b);
    D2D1_BEZIER_SEGMENT segment;
    segment.point1 = {static_cast<FLOAT>(p0.x + k * t0.x), static_cast<FLOAT>(p0.y + k * t0.y)};
    segment.point2 = {static_cast<FLOAT>(p3.x - k * t3.x), static_cast<FLOAT>(p3.y - k * t3.y)};
    segment.point3 = p3;
    sink->AddBezier(&segment);
  }
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  if (FAILED(sink->Close())) return nullptr;
  return path;
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    ValidateRect(window, nullptr);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(int width, int height) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PlainProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"D2PieReferenceBench";
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  RegisterClassW(&windowClass);
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  const HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"reference", WS_OVERLAPPEDWINDOW, 0, 0,
                      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                      windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s KEY LABEL WIDTH HEIGHT FRAMES\n", argv[0]);
    return 2;
  }
  const std::string key = argv[1];
  const std::string label = argv[2];
  const int width = std::atoi(argv[3]);
  const int height = std::atoi(argv[4]);
  const int frames = std::atoi(argv[5]);

  SetProcessDPIAware();
  const HWND window = MakeWindow(width, height);
  RECT client{};
  GetClientRect(window, &client);

  ComPtr<ID2D1Factory> factory;
  if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                               reinterpret_cast<void**>(factory.GetAddressOf())))) {
    std::printf("no Direct2D factory\n");
    return 1;
  }
  // 96 DPI, so that one unit is one pixel as in the other programs.
  const D2D1_RENDER_TARGET_PROPERTIES properties = {D2D1_RENDER_TARGET_TYPE_DEFAULT,
                                                    {DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN},
                                                    96.0f,
                                                    96.0f,
                                                    D2D1_RENDER_TARGET_USAGE_NONE,
                                                    D2D1_FEATURE_LEVEL_DEFAULT};
  const D2D1_HWND_RENDER_TARGET_PROPERTIES windowProperties = {
      window,
      {static_cast<UINT32>(client.right), static_cast<UINT32>(client.bottom)},
      D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> target;
  if (FAILED(factory->CreateHwndRenderTarget(&properties, &windowProperties, &target))) {
    std::printf("no render target\n");
    return 1;
  }

  struct Wedge {
    ComPtr<ID2D1PathGeometry> path;
    ComPtr<ID2D1SolidColorBrush> brush;
    bool outlined;
  };
  std::vector<Wedge> wedges;
  for (const bench::ChartShape& chart : {bench::UpperChart(width), bench::LowerChart(width)}) {
    for (int i = 0; i < bench::kSlicesPerChart; ++i) {
      float start = 0.0f;
      float end = 0.0f;
      bench::SliceAngles(i, &start, &end);
      const bench::Rgb c = bench::SliceColour(i);
      Wedge wedge{MakeWedge(factory.Get(), chart, start, end), nullptr, chart.outlined};
      target->CreateSolidColorBrush({c.r, c.g, c.b, 1.0f}, &wedge.brush);
      wedges.push_back(wedge);
    }
  }
  ComPtr<ID2D1SolidColorBrush> outline;
  target->CreateSolidColorBrush({bench::kOutline.r, bench::kOutline.g, bench::kOutline.b, 1.0f},
                                &outline);

  const D2D1_MATRIX_3X2_F identity = {{{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}}};
  const D2D1_COLOR_F background = {bench::kBackground.r, bench::kBackground.g, bench::kBackground.b,
                                   1.0f};
  HRESULT failure = S_OK;
  const auto frame = [&] {
    target->BeginDraw();
    target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    target->SetTransform(&identity);
    target->Clear(&background);
    for (const Wedge& wedge : wedges) {
      if (!wedge.path || !wedge.brush) continue;
      target->FillGeometry(wedge.path.Get(), wedge.brush.Get(), nullptr);
      if (wedge.outlined)
        target->DrawGeometry(wedge.path.Get(), outline.Get(), bench::kOutlineWidth, nullptr);
    }
    const HRESULT result = target->EndDraw(nullptr, nullptr);
    if (FAILED(result) && SUCCEEDED(failure)) failure = result;
  };

  const double firstStart = bench::NowMs();
  frame();
  const double first = bench::NowMs() - firstStart;
  std::vector<double> samples;
  for (int f = 0; f < frames; ++f) {
    const double before = bench::NowMs();
    frame();
    samples.push_back(bench::NowMs() - before);
  }
  const std::string size =
      " at " + std::to_string(client.right) + " x " + std::to_string(client.bottom);
  bench::Report(key.c_str(), (label + ", frame" + size).c_str(), bench::Summarise(samples), "ms");
  bench::Report((key + "_first").c_str(), (label + ", first frame" + size).c_str(), first, -1,
                "ms");
  if (FAILED(failure)) {
    char text[96];
    std::snprintf(text, sizeof text, "%s: EndDraw failed with 0x%08lX", key.c_str(),
                  static_cast<unsigned long>(failure));
    bench::Note(text);
  }
  DestroyWindow(window);
  return 0;
}
