#include "tests/support/recording_render_target.h"

#include "tests/support/recording_brush.h"

namespace fakes {
namespace {

// What a fill and a stroke have in common: the geometry, the brush and, for a solid-colour brush
// (asked through QueryInterface, so that any brush will do), its colour.
RenderCall& DescribeDrawing(RenderCall& call, ID2D1Geometry* geometry, ID2D1Brush* brush) {
  call.geometry = geometry;
  call.brush = brush;
  orb::ComPtr<ID2D1SolidColorBrush> solid;
  if (brush != nullptr &&
      SUCCEEDED(brush->QueryInterface(__uuidof(ID2D1SolidColorBrush),
                                      reinterpret_cast<void**>(solid.GetAddressOf())))) {
    call.hasColor = true;
    call.color = solid->GetColor();
  }
  return call;
}

}  // namespace

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateSolidColorBrush(
    const D2D1_COLOR_F* color, const D2D1_BRUSH_PROPERTIES* brushProperties,
    ID2D1SolidColorBrush** brush) {
  RenderCall& call = Record(RenderOp::CreateSolidColorBrush);
  call.hasColor = color != nullptr;
  if (color != nullptr) call.color = *color;
  call.hasBrushProperties = brushProperties != nullptr;
  if (brushProperties != nullptr) call.brushProperties = *brushProperties;

  const bool fail = brushCreation_.Fails();
  if (brush == nullptr) {
    call.result = E_POINTER;
  } else if (fail || color == nullptr) {
    *brush = nullptr;
    call.result = fail ? E_OUTOFMEMORY : E_INVALIDARG;
  } else {
    orb::ComPtr<ID2D1SolidColorBrush> made =
        orb::MakeComObject<RecordingSolidColorBrush>(*color, brushProperties);
    call.result = made ? S_OK : E_OUTOFMEMORY;
    call.createdBrush = made.Get();
    *brush = made.Detach();
  }
  return call.result;
}

void STDMETHODCALLTYPE RecordingRenderTarget::FillGeometry(ID2D1Geometry* geometry,
                                                           ID2D1Brush* brush,
                                                           ID2D1Brush* opacityBrush) {
  DescribeDrawing(Record(RenderOp::FillGeometry), geometry, brush).opacityBrush = opacityBrush;
}

void STDMETHODCALLTYPE RecordingRenderTarget::DrawGeometry(ID2D1Geometry* geometry,
                                                           ID2D1Brush* brush, FLOAT strokeWidth,
                                                           ID2D1StrokeStyle* strokeStyle) {
  RenderCall& call = DescribeDrawing(Record(RenderOp::DrawGeometry), geometry, brush);
  call.strokeWidth = strokeWidth;
  call.strokeStyle = strokeStyle;
}

}  // namespace fakes
