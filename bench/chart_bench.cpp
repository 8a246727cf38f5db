// Prints how long the chart takes to build its 20 slice paths and to hit-test one point, on the
// process's real Direct2D factory (under Wine, the project's stand-in).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chart/pie_chart.h"
#include "d2d/d2d1_helper.h"

namespace {

constexpr int kRuns = 500;

struct Figures {
  double median;
  double worst;
};

template <typename Work>
Figures Measure(Work work) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> micros;
  micros.reserve(kRuns);
  for (int i = 0; i < kRuns; ++i) {
    LARGE_INTEGER before;
    LARGE_INTEGER after;
    QueryPerformanceCounter(&before);
    work();
    QueryPerformanceCounter(&after);
    micros.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1e6 /
                     static_cast<double>(frequency.QuadPart));
  }
  std::sort(micros.begin(), micros.end());
  return {micros[micros.size() / 2], micros.back()};
}

}  // namespace

int main() {
  orb::ComPtr<ID2D1Factory> factory;
  if (FAILED(CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &factory))) {
    std::printf("no Direct2D factory\n");
    return 1;
  }
  orb::ComPtr<ID2DHelper> helper;
  NewD2D1Helper(&helper);
  orb::ComPtr<IPieChart> chart;
  NewPieChart(&chart, helper.Get(), factory.Get(), nullptr, 192, 192, 192, 2.0f, 10.0f, 10.0f,
              400.0f, 200.0f);
  std::vector<float> values;
  values.reserve(20);
  for (int i = 0; i < 20; ++i) values.push_back(static_cast<float>(10 + (i * 37) % 141));
  SetChartValues(chart.Get(), values);
  chart->SelectSlice(7);
  chart->SetExplodeOffset(20);

  const Figures build = Measure([&] { chart->BuildGeometry(); });

  orb::ComPtr<IRenderable> renderable;
  chart.As(&renderable);
  const D2D1_MATRIX_3X2_F identity = helper->MakeIdentityMatrix();
  // Left of the centre, so that about half the slices are asked before one answers.
  volatile INT32 sink = 0;
  const Figures hit = Measure([&] { sink = renderable->HitTest(90.0f, 105.0f, identity); });

  std::printf("chart_bench: %d runs each\n", kRuns);
  std::printf("BuildGeometry, 20 slices: median %.1f us, worst %.1f us\n", build.median,
              build.worst);
  std::printf("HitTest, one point (slice %d): median %.1f us, worst %.1f us\n",
              static_cast<int>(sink), hit.median, hit.worst);
  return 0;
}
