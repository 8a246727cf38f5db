// Prints how long the stand-in takes for the program's work: building a 20-wedge elliptical pie,
// hit-testing one point against each wedge, and one 512 x 540 frame of two pies (40 filled
// wedges, 20 stroked outlines) split into rasterizing and presenting. Asserts nothing.

#include <d2d1.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "com/com_object.h"

namespace {

using orb::ComPtr;

constexpr int kRuns = 300;
constexpr int kWedges = 20;
constexpr double kDegree = std::numbers::pi / 180.0;

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceFrequency(&frequency_); }
  double NowMicroseconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
};

struct Figures {
  const char* name;
  std::vector<double> samples;
};

void Print(Figures& figures) {
  auto& s = figures.samples;
  std::sort(s.begin(), s.end());
  std::printf("%-44s %10.1f %10.1f %8zu\n", figures.name, s[s.size() / 2], s.back(), s.size());
}

struct PieShape {
  float cx, cy, rx, ry;
  std::vector<float> values;
};

// The wedges as the program draws them: apex, rim start, counter-clockwise arc, closed.
std::vector<ComPtr<ID2D1PathGeometry>> BuildPie(ID2D1Factory* factory, const PieShape& pie) {
  std::vector<ComPtr<ID2D1PathGeometry>> wedges;
  float total = 0;
  for (float v : pie.values) total += v;
  float start = 0;
  for (float v : pie.values) {
    const float end = start + 360.0f * (v / total);
    ComPtr<ID2D1PathGeometry> path;
    ComPtr<ID2D1GeometrySink> sink;
    factory->CreatePathGeometry(&path);
    path->Open(&sink);
    auto rim = [&](float a) {
      return D2D1_POINT_2F{pie.cx + pie.rx * static_cast<float>(std::sin(a * kDegree)),
                           pie.cy + pie.ry * static_cast<float>(std::cos(a * kDegree))};
    };
    sink->BeginFigure({pie.cx, pie.cy}, D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine(rim(start));
    const D2D1_ARC_SEGMENT arc = {rim(end),
                                  {pie.rx, pie.ry},
                                  0.0f,
                                  D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE,
                                  end - start > 180 ? D2D1_ARC_SIZE_LARGE : D2D1_ARC_SIZE_SMALL};
    sink->AddArc(&arc);
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    sink->Close();
    wedges.push_back(path);
    start = end;
  }
  return wedges;
}

std::vector<float> Values(unsigned seed) {
  std::vector<float> values;
  for (int i = 0; i < kWedges; ++i) {
    seed = seed * 1103515245u + 12345u;
    values.push_back(static_cast<float>(10 + (seed >> 16) % 141));
  }
  return values;
}

HWND MakeWindow(int width, int height) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"D2d1Bench";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, L"D2d1Bench", L"d2d1 bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

int main() {
  ComPtr<ID2D1Factory> factory;
  if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                               reinterpret_cast<void**>(factory.GetAddressOf())))) {
    std::printf("no Direct2D factory\n");
    return 1;
  }
  HMODULE d2d1 = GetModuleHandleW(L"d2d1.dll");
  const bool standIn = d2d1 != nullptr && GetProcAddress(d2d1, "D2PieStandInLiveObjects");
  std::printf("d2d1.dll: %s\n", standIn ? "stand-in" : "system");

  const Stopwatch clock;
  const PieShape upper = {256, 140, 170, 70, Values(7)};
  const PieShape lower = {256, 390, 120, 120, Values(11)};

  Figures build = {"build 20-wedge elliptical pie (us/build)", {}};
  for (int run = 0; run < kRuns; ++run) {
    const double t0 = clock.NowMicroseconds();
    auto wedges = BuildPie(factory.Get(), upper);
    build.samples.push_back(clock.NowMicroseconds() - t0);
  }

  Figures hit = {"FillContainsPoint, one wedge (us/call)", {}};
  const auto wedges = BuildPie(factory.Get(), upper);
  for (int run = 0; run < kRuns; ++run) {
    for (const auto& wedge : wedges) {
      BOOL inside = FALSE;
      const double t0 = clock.NowMicroseconds();
      wedge->FillContainsPoint({300.0f, 170.0f}, nullptr, 0.0f, &inside);
      hit.samples.push_back(clock.NowMicroseconds() - t0);
    }
  }

  HWND window = MakeWindow(512, 540);
  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  D2D1_HWND_RENDER_TARGET_PROPERTIES hwndProperties = {
      window, {512, 540}, D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> target;
  if (window == nullptr ||
      FAILED(factory->CreateHwndRenderTarget(&properties, &hwndProperties, &target))) {
    std::printf("no window render target\n");
    return 1;
  }
  FLOAT dpi = 0, unused = 0;
  target->GetDpi(&dpi, &unused);
  std::printf("render target: 512 x 540 pixels at %.0f DPI\n", dpi);
  std::vector<ComPtr<ID2D1SolidColorBrush>> fills;
  for (int i = 0; i < kWedges; ++i) {
    const D2D1_COLOR_F colour = {static_cast<float>(i * 37 % 255) / 255.0f,
                                 static_cast<float>(i * 91 % 255) / 255.0f,
                                 static_cast<float>(i * 53 % 255) / 255.0f, 1.0f};
    ComPtr<ID2D1SolidColorBrush> brush;
    target->CreateSolidColorBrush(&colour, nullptr, &brush);
    fills.push_back(brush);
  }
  const D2D1_COLOR_F gray = {192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1.0f};
  ComPtr<ID2D1SolidColorBrush> outline;
  target->CreateSolidColorBrush(&gray, nullptr, &outline);
  const auto lowerWedges = BuildPie(factory.Get(), lower);
  const D2D1_COLOR_F background = {0.0f, 82 / 255.0f, 121 / 255.0f, 1.0f};
  const D2D1_MATRIX_3X2_F identity = {{{1, 0, 0, 1, 0, 0}}};

  Figures raster = {"frame: clear + 40 fills + 20 strokes (us)", {}};
  Figures present = {"frame: EndDraw, one blit to the window (us)", {}};
  Figures whole = {"frame: total (us)", {}};
  for (int run = 0; run < kRuns + 5; ++run) {
    Pump();
    const double t0 = clock.NowMicroseconds();
    target->BeginDraw();
    target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    target->SetTransform(&identity);
    target->Clear(&background);
    for (int i = 0; i < kWedges; ++i) {
      target->FillGeometry(wedges[i].Get(), fills[i].Get(), nullptr);
      target->DrawGeometry(wedges[i].Get(), outline.Get(), 2.0f, nullptr);
    }
    for (int i = 0; i < kWedges; ++i) {
      target->FillGeometry(lowerWedges[i].Get(), fills[(i + 3) % kWedges].Get(), nullptr);
    }
    const double t1 = clock.NowMicroseconds();
    target->EndDraw(nullptr, nullptr);
    const double t2 = clock.NowMicroseconds();
    if (run < 5) continue;  // warm-up
    raster.samples.push_back(t1 - t0);
    present.samples.push_back(t2 - t1);
    whole.samples.push_back(t2 - t0);
  }

  std::printf("%-44s %10s %10s %8s\n", "", "median", "worst", "runs");
  for (Figures* figures : {&build, &hit, &raster, &present, &whole}) Print(*figures);
  DestroyWindow(window);
  return 0;
}
