#pragma once
// Shared by the chart tests: a palette that records what the chart asks of it, a settable
// clock, a recording message box, and charts made on the recording fakes.

#include <d2d1.h>

#include <string>
#include <vector>

#include "chart/pie_chart.h"
#include "com/com_object.h"
#include "d2d/d2d1_helper.h"
#include "palette/ipalette.h"
#include "tests/support/recording_brush.h"
#include "tests/support/recording_factory.h"

namespace chart_test {

// The recording fakes are these tests' vocabulary.
using namespace fakes;
using orb::ComPtr;

struct BrushRequest {
  INT32 index;
  bool hasGray;
  INT32 gray;
};

// A palette of `colours` colours whose brush for index i (wrapped) has red = i / 100 and
// blue = 1 in gray, 0 in colour; with brushes turned off it answers nothing.
class FakePalette final : public orb::ComObject<IPalette> {
 public:
  explicit FakePalette(int colours) : colours_(colours) {}

  void STDMETHODCALLTYPE Init(ID2DHelper*, ID2D1Factory*) override {}
  INT32 STDMETHODCALLTYPE GetGray() override {
    ++grayQueries;
    return gray;
  }
  void STDMETHODCALLTYPE SetGray(INT32 value) override { gray = value; }
  void STDMETHODCALLTYPE GetBrush(INT32 index, ID2D1SolidColorBrush** brush,
                                  const INT32* grayOverride) override {
    requests.push_back({index, grayOverride != nullptr, grayOverride ? *grayOverride : 0});
    *brush = nullptr;
    if (!hasBrushes) return;
    const INT32 useGray = grayOverride ? *grayOverride : gray;
    const int entry = index % colours_;
    fakes::MakeBrush(ColourOf(entry, useGray != 0)).CopyTo(brush);
  }

  static D2D1_COLOR_F ColourOf(int entry, bool inGray) {
    return {static_cast<FLOAT>(entry) / 100.0f, 0.0f, inGray ? 1.0f : 0.0f, 1.0f};
  }

  INT32 gray = 0;
  bool hasBrushes = true;
  int grayQueries = 0;
  std::vector<BrushRequest> requests;

 private:
  int colours_;
};

// The clock handed to the charts under test.
float FakeTime();
void SetFakeTime(float seconds);

// The message box handed to the charts under test: remembers every call and answers IDOK.
struct MessageBoxCall {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT style;
};
int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
std::vector<MessageBoxCall>& MessageBoxCalls();

orb::ComPtr<ID2DHelper> MakeHelper();

// The two charts of the application, on any factory and palette, reporting through messageBox.
orb::ComPtr<IPieChart> MakeUpperChart(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                                      MessageBoxFunction messageBox = RecordMessageBox);
orb::ComPtr<IPieChart> MakeLowerChart(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                                      MessageBoxFunction messageBox = RecordMessageBox);

// The upper or the lower chart with values, its geometry built.
orb::ComPtr<IPieChart> BuiltChart(bool upper, ID2DHelper* helper, ID2D1Factory* factory,
                                  IPalette* palette, const std::vector<float>& values);

orb::ComPtr<IRenderable> RenderableOf(IPieChart* chart);

// What one recorded path says about the figure written into it.
struct WrittenSlice {
  bool complete = false;  // BeginFigure, AddLine, AddArc, EndFigure, Close, in that order
  D2D1_POINT_2F apex = {};
  D2D1_FIGURE_BEGIN begin = {};
  D2D1_POINT_2F lineEnd = {};
  D2D1_ARC_SEGMENT arc = {};
  D2D1_FIGURE_END end = {};
};
WrittenSlice ReadSlice(const fakes::PathRecord& path);

}  // namespace chart_test
