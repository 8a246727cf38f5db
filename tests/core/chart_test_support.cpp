#include "tests/core/chart_test_support.h"

#include <gtest/gtest.h>

namespace chart_test {
namespace {

float fakeTime = 0.0f;

// A chart of the application: its outline's grey level and width, and its rectangle.
struct ChartSpec {
  INT32 grey;
  FLOAT outline, left, top, width, height;
};

orb::ComPtr<IPieChart> MakeChart(const ChartSpec& c, ID2DHelper* helper, ID2D1Factory* factory,
                                 IPalette* palette, MessageBoxFunction messageBox) {
  orb::ComPtr<IPieChart> chart;
  NewPieChart(&chart, helper, factory, palette, c.grey, c.grey, c.grey, c.outline, c.left, c.top,
              c.width, c.height, FakeTime, messageBox);
  return chart;
}

}  // namespace

float FakeTime() { return fakeTime; }
void SetFakeTime(float seconds) { fakeTime = seconds; }

std::vector<MessageBoxCall>& MessageBoxCalls() {
  static std::vector<MessageBoxCall> calls;
  return calls;
}

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  MessageBoxCalls().push_back({owner, text ? text : L"", caption ? caption : L"", style});
  return IDOK;
}

orb::ComPtr<ID2DHelper> MakeHelper() {
  orb::ComPtr<ID2DHelper> helper;
  EXPECT_EQ(S_OK, NewD2D1Helper(&helper));
  return helper;
}

orb::ComPtr<IPieChart> MakeUpperChart(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                                      MessageBoxFunction messageBox) {
  return MakeChart({192, 2.0f, 10.0f, 10.0f, 400.0f, 200.0f}, helper, factory, palette, messageBox);
}

orb::ComPtr<IPieChart> MakeLowerChart(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                                      MessageBoxFunction messageBox) {
  return MakeChart({0, 0.0f, 60.0f, 220.0f, 300.0f, 300.0f}, helper, factory, palette, messageBox);
}

orb::ComPtr<IPieChart> BuiltChart(bool upper, ID2DHelper* helper, ID2D1Factory* factory,
                                  IPalette* palette, const std::vector<float>& values) {
  auto chart =
      upper ? MakeUpperChart(helper, factory, palette) : MakeLowerChart(helper, factory, palette);
  SetChartValues(chart.Get(), values);
  chart->BuildGeometry();
  return chart;
}

orb::ComPtr<IRenderable> RenderableOf(IPieChart* chart) {
  orb::ComPtr<IRenderable> renderable;
  EXPECT_EQ(S_OK, chart->QueryInterface(__uuidof(IRenderable),
                                        reinterpret_cast<void**>(renderable.GetAddressOf())));
  return renderable;
}

WrittenSlice ReadSlice(const fakes::PathRecord& path) {
  using fakes::SinkOp;
  WrittenSlice slice;
  const auto& calls = path.calls;
  slice.complete = calls.size() == 5 && calls[0].op == SinkOp::BeginFigure &&
                   calls[1].op == SinkOp::AddLine && calls[2].op == SinkOp::AddArc &&
                   calls[3].op == SinkOp::EndFigure && calls[4].op == SinkOp::Close;
  if (!slice.complete) return slice;
  slice.apex = calls[0].point;
  slice.begin = calls[0].figureBegin;
  slice.lineEnd = calls[1].point;
  slice.arc = calls[2].arc;
  slice.end = calls[3].figureEnd;
  return slice;
}

}  // namespace chart_test
