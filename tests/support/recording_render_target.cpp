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

void RecordingRenderTarget::FailBrushCreation(int nth) {
  brushCreationsUntilFailure_ = nth > 0 ? nth : 0;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::QueryInterface(REFIID iid, void** object) {
  if (object != nullptr && iid == __uuidof(ID2D1Resource)) {
    *object = static_cast<ID2D1RenderTarget*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateSolidColorBrush(
    const D2D1_COLOR_F* color, const D2D1_BRUSH_PROPERTIES* brushProperties,
    ID2D1SolidColorBrush** brush) {
  RenderCall call;
  call.op = RenderOp::CreateSolidColorBrush;
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
  calls_.push_back(call);
  return call.result;
}

void STDMETHODCALLTYPE RecordingRenderTarget::FillGeometry(ID2D1Geometry* geometry,
                                                           ID2D1Brush* brush,
                                                           ID2D1Brush* opacityBrush) {
  RenderCall call;
  call.op = RenderOp::FillGeometry;
  call.geometry = geometry;
  call.brush = brush;
  call.opacityBrush = opacityBrush;
  call.hasColor = SolidColorOf(brush, &call.color);
  calls_.push_back(call);
}

void STDMETHODCALLTYPE RecordingRenderTarget::DrawGeometry(ID2D1Geometry* geometry,
                                                           ID2D1Brush* brush, FLOAT strokeWidth,
                                                           ID2D1StrokeStyle* strokeStyle) {
  RenderCall call;
  call.op = RenderOp::DrawGeometry;
  call.geometry = geometry;
  call.brush = brush;
  call.strokeWidth = strokeWidth;
  call.strokeStyle = strokeStyle;
  call.hasColor = SolidColorOf(brush, &call.color);
  calls_.push_back(call);
}

void STDMETHODCALLTYPE RecordingRenderTarget::SetTransform(const D2D1_MATRIX_3X2_F* transform) {
  RenderCall call;
  call.op = RenderOp::SetTransform;
  if (transform != nullptr) {
    call.transform = *transform;
    transform_ = *transform;
  }
  calls_.push_back(call);
}

void STDMETHODCALLTYPE RecordingRenderTarget::SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) {
  RenderCall call;
  call.op = RenderOp::SetAntialiasMode;
  call.antialiasMode = mode;
  antialiasMode_ = mode;
  calls_.push_back(call);
}

void STDMETHODCALLTYPE RecordingRenderTarget::Clear(const D2D1_COLOR_F* color) {
  RenderCall call;
  call.op = RenderOp::Clear;
  call.hasColor = color != nullptr;
  if (color != nullptr) call.color = *color;
  calls_.push_back(call);
}

void STDMETHODCALLTYPE RecordingRenderTarget::BeginDraw() {
  RenderCall call;
  call.op = RenderOp::BeginDraw;
  calls_.push_back(call);
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) {
  if (tag1 != nullptr) *tag1 = 0;
  if (tag2 != nullptr) *tag2 = 0;
  RenderCall call;
  call.op = RenderOp::EndDraw;
  call.result = endDrawResult_;
  calls_.push_back(call);
  return endDrawResult_;
}

void STDMETHODCALLTYPE RecordingRenderTarget::GetTransform(D2D1_MATRIX_3X2_F* transform) const {
  if (transform != nullptr) *transform = transform_;
}

D2D1_ANTIALIAS_MODE STDMETHODCALLTYPE RecordingRenderTarget::GetAntialiasMode() const {
  return antialiasMode_;
}

namespace {
constexpr D2D1_PIXEL_FORMAT kPixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM,
                                            D2D1_ALPHA_MODE_PREMULTIPLIED};
D2D1_SIZE_U PixelSizeOf(D2D1_SIZE_F size) {
  return {static_cast<UINT32>(size.width), static_cast<UINT32>(size.height)};
}
}  // namespace

#ifdef WIDL_EXPLICIT_AGGREGATE_RETURNS
D2D1_SIZE_F* STDMETHODCALLTYPE RecordingRenderTarget::GetSize(D2D1_SIZE_F* size) const {
  *size = size_;
  return size;
}

D2D1_SIZE_U* STDMETHODCALLTYPE RecordingRenderTarget::GetPixelSize(D2D1_SIZE_U* size) const {
  *size = PixelSizeOf(size_);
  return size;
}

D2D1_PIXEL_FORMAT* STDMETHODCALLTYPE RecordingRenderTarget::GetPixelFormat(
    D2D1_PIXEL_FORMAT* format) const {
  *format = kPixelFormat;
  return format;
}
#else
D2D1_SIZE_F STDMETHODCALLTYPE RecordingRenderTarget::GetSize() const { return size_; }

D2D1_SIZE_U STDMETHODCALLTYPE RecordingRenderTarget::GetPixelSize() const {
  return PixelSizeOf(size_);
}

D2D1_PIXEL_FORMAT STDMETHODCALLTYPE RecordingRenderTarget::GetPixelFormat() const {
  return kPixelFormat;
}
#endif

void STDMETHODCALLTYPE RecordingRenderTarget::GetDpi(FLOAT* dpiX, FLOAT* dpiY) const {
  if (dpiX != nullptr) *dpiX = 96.0f;
  if (dpiY != nullptr) *dpiY = 96.0f;
}

void STDMETHODCALLTYPE RecordingRenderTarget::GetFactory(ID2D1Factory** factory) const {
  if (factory != nullptr) *factory = nullptr;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateBitmap(D2D1_SIZE_U, const void*, UINT32,
                                                              const D2D1_BITMAP_PROPERTIES*,
                                                              ID2D1Bitmap**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateBitmapFromWicBitmap(
    IWICBitmapSource*, const D2D1_BITMAP_PROPERTIES*, ID2D1Bitmap**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateSharedBitmap(REFIID, void*,
                                                                    const D2D1_BITMAP_PROPERTIES*,
                                                                    ID2D1Bitmap**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateBitmapBrush(
    ID2D1Bitmap*, const D2D1_BITMAP_BRUSH_PROPERTIES*, const D2D1_BRUSH_PROPERTIES*,
    ID2D1BitmapBrush**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateGradientStopCollection(
    const D2D1_GRADIENT_STOP*, UINT, D2D1_GAMMA, D2D1_EXTEND_MODE, ID2D1GradientStopCollection**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateLinearGradientBrush(
    const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES*, const D2D1_BRUSH_PROPERTIES*,
    ID2D1GradientStopCollection*, ID2D1LinearGradientBrush**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateRadialGradientBrush(
    const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES*, const D2D1_BRUSH_PROPERTIES*,
    ID2D1GradientStopCollection*, ID2D1RadialGradientBrush**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateCompatibleRenderTarget(
    const D2D1_SIZE_F*, const D2D1_SIZE_U*, const D2D1_PIXEL_FORMAT*,
    D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS, ID2D1BitmapRenderTarget**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateLayer(const D2D1_SIZE_F*, ID2D1Layer**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::CreateMesh(ID2D1Mesh**) { return E_NOTIMPL; }

D2D1_TEXT_ANTIALIAS_MODE STDMETHODCALLTYPE RecordingRenderTarget::GetTextAntialiasMode() const {
  return D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
}

void STDMETHODCALLTYPE RecordingRenderTarget::GetTextRenderingParams(
    IDWriteRenderingParams** params) const {
  if (params != nullptr) *params = nullptr;
}

void STDMETHODCALLTYPE RecordingRenderTarget::GetTags(D2D1_TAG* tag1, D2D1_TAG* tag2) const {
  if (tag1 != nullptr) *tag1 = 0;
  if (tag2 != nullptr) *tag2 = 0;
}

HRESULT STDMETHODCALLTYPE RecordingRenderTarget::Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) {
  GetTags(tag1, tag2);
  return S_OK;
}

}  // namespace fakes
