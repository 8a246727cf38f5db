#include "chart/pie_chart.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "chart/slice_layout.h"
#include "palette/opaque_brush.h"

namespace {

constexpr wchar_t kCaption[] = L"D2 Pie";

// Whether a failure box is open, for every chart of the process. The box is task-modal, but its
// modal loop goes on delivering the explode timer's ticks (and a change of DPI, which lays out
// both charts); each rebuilds geometry on the same failing factory, and a box inside the box
// would follow for as long as the failure lasts. The user sees one box, whichever chart failed.
std::atomic<bool> failureBoxOpen{false};

// Writes one slice figure. The points go through the helper, like every Direct2D record.
void WriteSlice(ID2D1GeometrySink* sink, ID2DHelper* helper, const PieEllipse& pie,
                const SliceFigure& figure) {
  D2D1_ARC_SEGMENT arc;
  arc.size = {pie.rx, pie.ry};
  arc.rotationAngle = 0.0f;
  arc.sweepDirection = D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE;
  if (figure.wholeEllipse) {
    sink->BeginFigure(helper->MakePoint(figure.rimStart.x, figure.rimStart.y),
                      D2D1_FIGURE_BEGIN_FILLED);
    arc.arcSize = D2D1_ARC_SIZE_SMALL;
    arc.point = helper->MakePoint(figure.rimOpposite.x, figure.rimOpposite.y);
    sink->AddArc(&arc);
    arc.point = helper->MakePoint(figure.rimStart.x, figure.rimStart.y);
    sink->AddArc(&arc);
  } else {
    sink->BeginFigure(helper->MakePoint(figure.apex.x, figure.apex.y), D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine(helper->MakePoint(figure.rimStart.x, figure.rimStart.y));
    arc.arcSize = figure.arcSize;
    arc.point = helper->MakePoint(figure.rimEnd.x, figure.rimEnd.y);
    sink->AddArc(&arc);
  }
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
}

}  // namespace

cPieChart::cPieChart(TimeOfDayClock clock, MessageBoxFunction messageBox)
    : clock_(clock != nullptr ? clock : LocalTimeOfDay),
      messageBox_(messageBox != nullptr ? messageBox : MessageBoxW) {}

void cPieChart::BuildGeometry() {
  for (auto& geometry : sliceGeometries_) geometry.Reset();
  if (angles_.empty() || !factory_ || !helper_) return;

  const PieEllipse pie = EllipseInRectangle(left_, top_, width_, height_);
  for (size_t i = 0; i < angles_.size(); ++i) {
    orb::ComPtr<ID2D1PathGeometry> path;
    if (FAILED(factory_->CreatePathGeometry(&path))) {
      ReportFailure(L"Failed create geometry");
      return;
    }
    orb::ComPtr<ID2D1GeometrySink> sink;
    if (FAILED(path->Open(&sink))) {
      ReportFailure(L"Failed create sink");
      return;
    }
    const bool selected = static_cast<INT32>(i) == selectedSlice_;
    const auto [start, end] = angles_[i];
    WriteSlice(sink.Get(), helper_.Get(), pie,
               LayOutSlice(pie, start, end, selected, explodeOffset_));
    sink->Close();
    sliceGeometries_[i] = path;
  }
}

void cPieChart::ReportFailure(LPCWSTR message) {
  // Reported already: the box that is open says it, and this build stops short like that one.
  if (failureBoxOpen.exchange(true)) return;
  messageBox_(nullptr, message, kCaption, MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
  failureBoxOpen = false;
}

FLOAT cPieChart::GetSelectionTime() { return selectionTime_; }

INT32 cPieChart::GetExplodeOffset() {
  // Halves go to even, as in every float-to-integer conversion of the program.
  return static_cast<INT32>(std::nearbyint(explodeOffset_));
}

void cPieChart::SetExplodeOffset(INT32 offset) { explodeOffset_ = static_cast<FLOAT>(offset); }

INT32 cPieChart::GetSelectedSlice() { return selectedSlice_; }

void cPieChart::SelectSlice(INT32 index) {
  selectionTime_ = clock_();
  explodeOffset_ = 0.0f;
  selectedSlice_ = index;
}

FLOAT cPieChart::GetLeft() { return left_; }

void cPieChart::SetLeft(FLOAT left) { left_ = left; }

FLOAT cPieChart::GetWidth() { return width_; }

void cPieChart::SetWidth(FLOAT width) { width_ = width; }

FLOAT cPieChart::GetCenterX() { return EllipseInRectangle(left_, top_, width_, height_).cx; }

FLOAT cPieChart::GetCenterY() { return EllipseInRectangle(left_, top_, width_, height_).cy; }

FLOAT cPieChart::GetRadiusX() { return EllipseInRectangle(left_, top_, width_, height_).rx; }

FLOAT cPieChart::GetRadiusY() { return EllipseInRectangle(left_, top_, width_, height_).ry; }

void cPieChart::GetPalette(IPalette** palette) {
  if (palette == nullptr) return;
  *palette = nullptr;
  palette_.CopyTo(palette);
}

void cPieChart::SetPalette(IPalette* palette) { palette_ = palette; }

void cPieChart::SetValues(const FLOAT* first, INT32 count) {
  ++valuesGeneration_;
  values_.clear();
  sliceGeometries_.clear();
  if (first != nullptr && count > 0) values_.assign(first, first + count);
  sliceGeometries_.resize(values_.size());
  angles_ = SliceAngles(values_);
  total_ = PieTotal(values_);
}

FLOAT cPieChart::GetTop() { return top_; }

FLOAT cPieChart::GetHeight() { return height_; }

INT32 cPieChart::GetSliceCount() { return static_cast<INT32>(angles_.size()); }

HRESULT cPieChart::GetSlice(INT32 index, PieSlice* slice) {
  if (slice == nullptr) return E_POINTER;
  *slice = PieSlice{};
  if (index < 0 || index >= GetSliceCount()) return E_INVALIDARG;
  const auto i = static_cast<size_t>(index);
  slice->value = values_[i];
  slice->percent = 100.0 * values_[i] / total_;
  slice->startDegrees = angles_[i].first;
  slice->endDegrees = angles_[i].second;
  if (sliceGeometries_[i]) sliceGeometries_[i]->GetBounds(nullptr, &slice->bounds);
  return S_OK;
}

UINT32 cPieChart::GetValuesGeneration() { return valuesGeneration_; }

void cPieChart::GetPointBeyondRim(FLOAT degrees, FLOAT distance, D2D1_POINT_2F* point) {
  if (point == nullptr) return;
  *point = PointBeyondRim(EllipseInRectangle(left_, top_, width_, height_), degrees, distance);
}

void cPieChart::Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette, INT32 red,
                     INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left, FLOAT top,
                     FLOAT width, FLOAT height) {
  helper_ = helper;
  factory_ = factory;
  palette_ = palette;
  outline_.red = red;
  outline_.green = green;
  outline_.blue = blue;
  outline_.width = outlineWidth;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void cPieChart::CreateDeviceResources(ID2D1RenderTarget* renderTarget) {
  renderTarget_ = renderTarget;
  MakeBrush(outline_);
  if (selectedOutline_.width > 0.0f) MakeBrush(selectedOutline_);
}

void cPieChart::MakeBrush(Outline& outline) {
  // A brush that fails to be made stays empty, and slices are then drawn without that outline.
  outline.brush = renderTarget_ ? MakeOpaqueBrush(renderTarget_.Get(), helper_.Get(), outline.red,
                                                  outline.green, outline.blue)
                                : nullptr;
}

void cPieChart::SetOutline(INT32 red, INT32 green, INT32 blue, FLOAT width) {
  outline_ = Outline{red, green, blue, width, nullptr};
  MakeBrush(outline_);
}

void cPieChart::SetSelectedOutline(INT32 red, INT32 green, INT32 blue, FLOAT width) {
  selectedOutline_ = Outline{red, green, blue, width, nullptr};
  if (width > 0.0f) MakeBrush(selectedOutline_);
}

void cPieChart::DiscardDeviceResources() {
  renderTarget_.Reset();
  outline_.brush.Reset();
  selectedOutline_.brush.Reset();
}

INT32 cPieChart::HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) {
  const D2D1_POINT_2F point = {x, y};
  for (size_t i = 0; i < sliceGeometries_.size(); ++i) {
    if (!sliceGeometries_[i]) continue;
    BOOL contains = FALSE;
    sliceGeometries_[i]->FillContainsPoint(point, &transform, 0.0f, &contains);
    if (contains) return static_cast<INT32>(i);
  }
  return -1;
}

void cPieChart::Draw(HWND) {
  if (!palette_ || !renderTarget_) return;
  // The selected slice's own outline goes over its neighbours', after all of them.
  ID2D1Geometry* highlighted = nullptr;
  for (size_t i = 0; i < sliceGeometries_.size(); ++i) {
    ID2D1Geometry* geometry = sliceGeometries_[i].Get();
    if (geometry == nullptr) continue;
    const bool selected = static_cast<INT32>(i) == selectedSlice_;
    // In gray the selected slice alone keeps its colour.
    const INT32 gray = palette_->GetGray() != 0 && !selected ? -1 : 0;
    orb::ComPtr<ID2D1SolidColorBrush> brush;
    palette_->GetBrush(static_cast<INT32>(i), &brush, &gray);
    if (!brush) continue;
    renderTarget_->FillGeometry(geometry, brush.Get(), nullptr);
    if (selected && selectedOutline_.width > 0.0f && selectedOutline_.brush) {
      highlighted = geometry;
    } else if (outline_.width > 0.0f && outline_.brush) {
      renderTarget_->DrawGeometry(geometry, outline_.brush.Get(), outline_.width, nullptr);
    }
  }
  if (highlighted != nullptr) {
    renderTarget_->DrawGeometry(highlighted, selectedOutline_.brush.Get(), selectedOutline_.width,
                                nullptr);
  }
}

void NewPieChart(IPieChart** chart, ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                 INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth, FLOAT left, FLOAT top,
                 FLOAT width, FLOAT height, TimeOfDayClock clock, MessageBoxFunction messageBox) {
  *chart = nullptr;
  auto made = orb::MakeComObject<cPieChart>(clock, messageBox);
  if (!made) return;
  made->Init(helper, factory, palette, red, green, blue, outlineWidth, left, top, width, height);
  *chart = made.Detach();
}

void SetChartValues(IPieChart* chart, const std::vector<float>& values) {
  if (chart == nullptr) return;
  // A list longer than an int32 can count is cut at the largest count.
  const size_t count =
      std::min(values.size(), static_cast<size_t>(std::numeric_limits<INT32>::max()));
  chart->SetValues(values.data(), static_cast<INT32>(count));
}
