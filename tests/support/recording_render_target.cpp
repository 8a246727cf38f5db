#include "tests/support/recording_render_target.h"

#include "tests/support/recording_brush.h"

namespace fakes {
namespace {

// The colour of a solid-colour brush, asked through QueryInterface so that any brush will do.
bool SolidColorOf(ID2D1Brush* brush, D2D1_COLOR_F* color) {
  if (brush == nullptr) return false;
  orb::ComPtr<ID2D1SolidColorBrush> solid;
  if (FAILED(brush->QueryInterface(__uuidof(ID2D1SolidColorBrush),
                                   reinterpret_cast<void**>(solid.GetAddressOf())))) {
    return false;
  }
  *color = solid->GetColor();
  return true;
}

}  // namespace

std::vector<RenderCall> RecordingRenderTarget::CallsOf(RenderOp op) const {
  std::vector<RenderCall> matching;
  for (const RenderCall& call : calls_) {
    if (call.op == op) matching.push_back(call);
  }
  return matching;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateSolidColorBrush(
    const D2D1_COLOR_F* color, const D2D1_BRUSH_PROPERTIES* brushProperties,
    ID2D1SolidColorBrush** brush) {
  RenderCall& call = Record(RenderOp::CreateSolidColorBrush);
  call.hasColor = color != nullptr;
  if (color != nullptr) call.color = *color;
  call.hasBrushProperties = brushProperties != nullptr;
  if (brushProperties != nullptr) call.brushProperties = *brushProperties;

  bool fail = false;
  if (brushCreationsUntilFailure_ > 0) fail = --brushCreationsUntilFailure_ == 0;
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
  RenderCall& call = Record(RenderOp::FillGeometry);
  call.geometry = geometry;
  call.brush = brush;
  call.opacityBrush = opacityBrush;
  call.hasColor = SolidColorOf(brush, &call.color);
}

void STDMETHODCALLTYPE RecordingRenderTarget::DrawGeometry(ID2D1Geometry* geometry,
                                                           ID2D1Brush* brush, FLOAT strokeWidth,
                                                           ID2D1StrokeStyle* strokeStyle) {
  RenderCall& call = Record(RenderOp::DrawGeometry);
  call.geometry = geometry;
  call.brush = brush;
  call.strokeWidth = strokeWidth;
  call.strokeStyle = strokeStyle;
  call.hasColor = SolidColorOf(brush, &call.color);
}

}  // namespace fakes
