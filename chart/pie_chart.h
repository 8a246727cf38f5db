#pragma once
// cPieChart: a pie of values in a rectangle, one Direct2D path per slice, hit testing, and
// drawing with a palette's brushes.

#include <d2d1.h>

#include <utility>
#include <vector>

#include "chart/ipie_chart.h"
#include "chart/time_of_day.h"
#include "com/com_object.h"
#include "d2d/id2d_helper.h"
#include "palette/ipalette.h"
#include "palette/irenderable.h"

// How the chart tells the user that building its geometry failed; MessageBoxW outside tests.
using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);

class cPieChart final : public orb::ComObject<IPieChart, IRenderable> {
 public:
  cPieChart(TimeOfDayClock clock, MessageBoxFunction messageBox);

  // IPieChart
  void STDMETHODCALLTYPE BuildGeometry() override;
  FLOAT STDMETHODCALLTYPE GetSelectionTime() override;
  INT32 STDMETHODCALLTYPE GetExplodeOffset() override;
  void STDMETHODCALLTYPE SetExplodeOffset(INT32 offset) override;
  INT32 STDMETHODCALLTYPE GetSelectedSlice() override;
  void STDMETHODCALLTYPE SelectSlice(INT32 index) override;
  FLOAT STDMETHODCALLTYPE GetLeft() override;
  void STDMETHODCALLTYPE SetLeft(FLOAT left) override;
  FLOAT STDMETHODCALLTYPE GetWidth() override;
  void STDMETHODCALLTYPE SetWidth(FLOAT width) override;
  FLOAT STDMETHODCALLTYPE GetCenterX() override;
  FLOAT STDMETHODCALLTYPE GetCenterY() override;
  FLOAT STDMETHODCALLTYPE GetRadiusX() override;
  FLOAT STDMETHODCALLTYPE GetRadiusY() override;
  void STDMETHODCALLTYPE GetPalette(IPalette** palette) override;
  void STDMETHODCALLTYPE SetPalette(IPalette* palette) override;
  void STDMETHODCALLTYPE SetValues(const FLOAT* first, INT32 count) override;
  void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                              INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left,
                              FLOAT top, FLOAT width, FLOAT height) override;
  FLOAT STDMETHODCALLTYPE GetTop() override;
  FLOAT STDMETHODCALLTYPE GetHeight() override;
  INT32 STDMETHODCALLTYPE GetSliceCount() override;
  HRESULT STDMETHODCALLTYPE GetSlice(INT32 index, PieSlice* slice) override;
  UINT32 STDMETHODCALLTYPE GetValuesGeneration() override;
  void STDMETHODCALLTYPE SetOutline(INT32 red, INT32 green, INT32 blue, FLOAT width) override;
  void STDMETHODCALLTYPE SetSelectedOutline(INT32 red, INT32 green, INT32 blue,
                                            FLOAT width) override;
  void STDMETHODCALLTYPE GetPointBeyondRim(FLOAT degrees, FLOAT distance,
                                           D2D1_POINT_2F* point) override;

  // IRenderable
  void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* renderTarget) override;
  void STDMETHODCALLTYPE DiscardDeviceResources() override;
  INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) override;
  void STDMETHODCALLTYPE Draw(HWND window) override;

 private:
  // Shows message in the failure box, unless a failure box of any chart is open already.
  void ReportFailure(LPCWSTR message);

  std::vector<FLOAT> values_;
  // Each slice's start and end angle, laid out once per value list.
  std::vector<std::pair<FLOAT, FLOAT>> angles_;
  FLOAT total_ = 0.0f;
  UINT32 valuesGeneration_ = 0;
  std::vector<orb::ComPtr<ID2D1Geometry>> sliceGeometries_;
  INT32 selectedSlice_ = -1;
  FLOAT explodeOffset_ = 0.0f;
  FLOAT left_ = 0.0f;
  FLOAT top_ = 0.0f;
  FLOAT width_ = 0.0f;
  FLOAT height_ = 0.0f;
  orb::ComPtr<IPalette> palette_;
  // An outline's colour and width, and its brush while there is a render target.
  struct Outline {
    INT32 red = 0;
    INT32 green = 0;
    INT32 blue = 0;
    FLOAT width = 0.0f;
    orb::ComPtr<ID2D1SolidColorBrush> brush;
  };
  // Makes outline's brush on the render target, if there is one.
  void MakeBrush(Outline& outline);

  Outline outline_;
  Outline selectedOutline_;
  FLOAT selectionTime_ = 0.0f;
  orb::ComPtr<ID2D1RenderTarget> renderTarget_;
  orb::ComPtr<ID2DHelper> helper_;
  orb::ComPtr<ID2D1Factory> factory_;
  const TimeOfDayClock clock_;
  const MessageBoxFunction messageBox_;
};

// Makes a chart into *chart (empty when it cannot be made) and calls Init with the other
// arguments. The clock and the message box are seams for tests.
void NewPieChart(IPieChart** chart, ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                 INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left, FLOAT top,
                 FLOAT width, FLOAT height, TimeOfDayClock clock = LocalTimeOfDay,
                 MessageBoxFunction messageBox = MessageBoxW);

// Hands the chart a copy of the values; does nothing without a chart.
void SetChartValues(IPieChart* chart, const std::vector<float>& values);
