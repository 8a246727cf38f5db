#include "platform/d2d1/hwnd_render_target.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/device_loss.h"
#include "platform/d2d1/factory.h"
#include "platform/d2d1/solid_color_brush.h"

namespace standin {
bool FrameSizeFits(D2D1_SIZE_U pixelSize) {
  return pixelSize.width <= kMaximumBitmapSize && pixelSize.height <= kMaximumBitmapSize &&
         UINT64{pixelSize.width} * pixelSize.height <= kMaximumFramePixels;
}

HwndRenderTarget::HwndRenderTarget(ID2D1Factory* factory, HWND hwnd, D2D1_SIZE_U pixelSize,
                                   FLOAT dpiX, FLOAT dpiY, D2D1_ALPHA_MODE alphaMode)
    : factory_(factory),
      hwnd_(hwnd),
      pixelSize_(pixelSize),
      dpiX_(dpiX),
      dpiY_(dpiY),
      alphaMode_(alphaMode),
      eraseWatch_(hwnd),
      presents_(hwnd) {
  frame_.Resize(static_cast<int>(pixelSize.width), static_cast<int>(pixelSize.height));
}

// ---- Resources

HRESULT STDMETHODCALLTYPE HwndRenderTarget::CreateSolidColorBrush(
    const D2D1_COLOR_F* color, const D2D1_BRUSH_PROPERTIES* properties,
    ID2D1SolidColorBrush** brush) {
  if (brush == nullptr) return E_POINTER;
  *brush = nullptr;
  if (color == nullptr) return E_INVALIDARG;
  auto made = orb::MakeComObject<SolidColorBrush>(factory_.Get(), *color, properties);
  if (!made) return E_OUTOFMEMORY;
  *brush = made.Detach();
  return S_OK;
}

// ---- Drawing

Affine HwndRenderTarget::ToPixels() const {
  return Then(ToAffine(&transform_), Affine::Scale(dpiX_ / 96.0, dpiY_ / 96.0));
}

void HwndRenderTarget::NoteError(HRESULT error) const {
  if (FAILED(error_.result)) return;
  error_ = {error, tag1_, tag2_};
}

HRESULT HwndRenderTarget::ReportError(D2D1_TAG* tag1, D2D1_TAG* tag2) {
  const FrameError error = error_;
  error_ = {};
  if (tag1 != nullptr) *tag1 = error.tag1;
  if (tag2 != nullptr) *tag2 = error.tag2;
  return error.result;
}

// A drawing call outside a frame draws nothing; its failure waits for the next EndDraw.
bool HwndRenderTarget::MayDraw() {
  if (!drawing_) NoteError(D2DERR_WRONG_STATE);
  return drawing_ && SUCCEEDED(error_.result);
}

bool HwndRenderTarget::Given(const void* argument) {
  if (argument == nullptr) NoteError(E_INVALIDARG);
  return argument != nullptr;
}

bool HwndRenderTarget::DrawablePaint(ID2D1Brush* brush, Paint* paint) {
  if (!MayDraw() || !Given(brush)) return false;
  orb::ComPtr<IStandInBrush> own;
  if (FAILED(brush->QueryInterface(__uuidof(IStandInBrush), &own))) {
    NoteError(E_INVALIDARG);  // a brush of some other render target
    return false;
  }
  own->GetPaint(paint);
  return true;
}

bool HwndRenderTarget::StrokePaint(ID2D1Brush* brush, FLOAT strokeWidth, ID2D1StrokeStyle* style,
                                   Paint* paint) {
  if (!DrawablePaint(brush, paint)) return false;
  // Dashes, caps and joins other than the default: the stand-in makes no stroke styles.
  if (style != nullptr) {
    FailFrameNotImplemented();
    return false;
  }
  return strokeWidth > 0.0f;
}

const Path* HwndRenderTarget::DrawablePath(ID2D1Geometry* geometry) {
  if (!Given(geometry)) return nullptr;
  orb::ComPtr<IStandInPath> own;
  if (FAILED(geometry->QueryInterface(__uuidof(IStandInPath), &own))) {
    NoteError(E_INVALIDARG);  // a geometry of some other factory
    return nullptr;
  }
  const Path* path = own->ClosedPath();
  if (path == nullptr) NoteError(D2DERR_WRONG_STATE);
  return path;
}

void STDMETHODCALLTYPE HwndRenderTarget::FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush,
                                                      ID2D1Brush* opacityBrush) {
  Paint paint;
  if (!DrawablePaint(brush, &paint)) return;
  // An opacity brush must be a bitmap brush, which the stand-in does not implement.
  if (opacityBrush != nullptr) {
    FailFrameNotImplemented();
    return;
  }
  if (const Path* path = DrawablePath(geometry)) frame_.Fill(*path, ToPixels(), paint);
}

void STDMETHODCALLTYPE HwndRenderTarget::DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush,
                                                      FLOAT strokeWidth, ID2D1StrokeStyle* style) {
  Paint paint;
  if (!StrokePaint(brush, strokeWidth, style, &paint)) return;
  if (const Path* path = DrawablePath(geometry)) {
    frame_.Stroke(*path, ToPixels(), strokeWidth, paint);
  }
}

void STDMETHODCALLTYPE HwndRenderTarget::DrawLine(D2D1_POINT_2F point0, D2D1_POINT_2F point1,
                                                  ID2D1Brush* brush, FLOAT strokeWidth,
                                                  ID2D1StrokeStyle* style) {
  Paint paint;
  if (!StrokePaint(brush, strokeWidth, style, &paint)) return;
  scratch_.Clear();
  scratch_.BeginFigure(ToVec2(point0), false);
  scratch_.LineTo(ToVec2(point1));
  scratch_.EndFigure(false);
  frame_.Stroke(scratch_, ToPixels(), strokeWidth, paint);
}

namespace {

void ShapeFigure(Path& path, const D2D1_RECT_F& r) {
  path.Clear();
  path.BeginFigure({r.left, r.top}, true);
  path.LineTo({r.right, r.top});
  path.LineTo({r.right, r.bottom});
  path.LineTo({r.left, r.bottom});
  path.EndFigure(true);
}

void ShapeFigure(Path& path, const D2D1_ELLIPSE& e) {
  path.Clear();
  const Vec2 left{e.point.x - e.radiusX, e.point.y};
  const Vec2 right{e.point.x + e.radiusX, e.point.y};
  path.BeginFigure(left, true);
  path.ArcTo(right, e.radiusX, e.radiusY, 0.0, true, false);
  path.ArcTo(left, e.radiusX, e.radiusY, 0.0, true, false);
  path.EndFigure(true);
}

}  // namespace

template <typename Shape>
void HwndRenderTarget::FillShape(const Shape* shape, ID2D1Brush* brush) {
  Paint paint;
  if (!DrawablePaint(brush, &paint) || !Given(shape)) return;
  ShapeFigure(scratch_, *shape);
  frame_.Fill(scratch_, ToPixels(), paint);
}

template <typename Shape>
void HwndRenderTarget::StrokeShape(const Shape* shape, ID2D1Brush* brush, FLOAT strokeWidth,
                                   ID2D1StrokeStyle* style) {
  Paint paint;
  if (!StrokePaint(brush, strokeWidth, style, &paint) || !Given(shape)) return;
  ShapeFigure(scratch_, *shape);
  frame_.Stroke(scratch_, ToPixels(), strokeWidth, paint);
}

void STDMETHODCALLTYPE HwndRenderTarget::DrawRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush,
                                                       FLOAT strokeWidth, ID2D1StrokeStyle* style) {
  StrokeShape(rect, brush, strokeWidth, style);
}

void STDMETHODCALLTYPE HwndRenderTarget::FillRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush) {
  FillShape(rect, brush);
}

void STDMETHODCALLTYPE HwndRenderTarget::DrawEllipse(const D2D1_ELLIPSE* ellipse, ID2D1Brush* brush,
                                                     FLOAT strokeWidth, ID2D1StrokeStyle* style) {
  StrokeShape(ellipse, brush, strokeWidth, style);
}

void STDMETHODCALLTYPE HwndRenderTarget::FillEllipse(const D2D1_ELLIPSE* ellipse,
                                                     ID2D1Brush* brush) {
  FillShape(ellipse, brush);
}

// ---- State

void STDMETHODCALLTYPE HwndRenderTarget::SetTransform(const D2D1_MATRIX_3X2_F* transform) {
  if (transform != nullptr) transform_ = *transform;
}

void STDMETHODCALLTYPE HwndRenderTarget::GetTransform(D2D1_MATRIX_3X2_F* transform) const {
  if (transform != nullptr) *transform = transform_;
}

void STDMETHODCALLTYPE HwndRenderTarget::SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) {
  if (mode != D2D1_ANTIALIAS_MODE_PER_PRIMITIVE && mode != D2D1_ANTIALIAS_MODE_ALIASED) return;
  antialias_ = mode;
  frame_.SetAntialiased(mode == D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void STDMETHODCALLTYPE HwndRenderTarget::SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE mode) {
  textAntialias_ = mode;
}

void STDMETHODCALLTYPE HwndRenderTarget::SetTextRenderingParams(IDWriteRenderingParams* params) {
  textRenderingParams_ = params;  // null: the default
}

void STDMETHODCALLTYPE HwndRenderTarget::GetTextRenderingParams(
    IDWriteRenderingParams** params) const {
  if (params == nullptr) return;
  *params = textRenderingParams_.Get();
  if (*params != nullptr) (*params)->AddRef();
}

void STDMETHODCALLTYPE HwndRenderTarget::SetTags(D2D1_TAG tag1, D2D1_TAG tag2) {
  tag1_ = tag1;
  tag2_ = tag2;
}

void STDMETHODCALLTYPE HwndRenderTarget::GetTags(D2D1_TAG* tag1, D2D1_TAG* tag2) const {
  if (tag1 != nullptr) *tag1 = tag1_;
  if (tag2 != nullptr) *tag2 = tag2_;
}

// Everything is drawn as it comes; what is left to do is to report and clear the error state.
HRESULT STDMETHODCALLTYPE HwndRenderTarget::Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) {
  if (!drawing_) {
    if (tag1 != nullptr) *tag1 = 0;
    if (tag2 != nullptr) *tag2 = 0;
    return D2DERR_WRONG_STATE;
  }
  return ReportError(tag1, tag2);
}

// ---- Frames

void STDMETHODCALLTYPE HwndRenderTarget::Clear(const D2D1_COLOR_F* clearColor) {
  if (!MayDraw()) return;
  const D2D1_COLOR_F color = clearColor != nullptr ? *clearColor : D2D1_COLOR_F{0, 0, 0, 0};
  frame_.Clear(MakePaint(color.r, color.g, color.b,
                         alphaMode_ == D2D1_ALPHA_MODE_IGNORE ? 1.0f : color.a, 1.0f));
}

// A second BeginDraw fails the frame. A failure noted since the last EndDraw (a drawing call
// outside a frame) stays, for this frame's EndDraw to report.
void STDMETHODCALLTYPE HwndRenderTarget::BeginDraw() {
  if (drawing_) {
    NoteError(D2DERR_WRONG_STATE);
    return;
  }
  drawing_ = true;
  frame_.Begin();
}

HRESULT STDMETHODCALLTYPE HwndRenderTarget::EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) {
  if (tag1 != nullptr) *tag1 = 0;
  if (tag2 != nullptr) *tag2 = 0;
  if (!drawing_) return D2DERR_WRONG_STATE;
  drawing_ = false;
  if (NextFrameLosesDevice()) {
    frame_.Abandon();
    error_ = {};
    return D2DERR_RECREATE_TARGET;
  }
  // BeginPaint asked the window to erase before this frame was drawn, or another target has
  // presented to it since: what it showed of the last frame is gone.
  if (eraseWatch_.TakeErase() || !presents_.PresentedLast()) frame_.WindowLost();
  Present(frame_.Finish());
  return ReportError(tag1, tag2);
}

void HwndRenderTarget::Present(const std::vector<PixelRect>& parts) {
  if (parts.empty()) return;
  const Surface& pixels = frame_.Pixels();
  HDC dc = GetDC(hwnd_);
  if (dc == nullptr) {
    frame_.WindowLost();
    return;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.Width();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (const PixelRect& part : parts) {
    // The part's rows alone form a top-down DIB as wide as the frame; its columns are chosen
    // within it.
    info.bmiHeader.biHeight = -part.height;
    const std::uint32_t* rows = pixels.Pixels() + static_cast<std::size_t>(part.y) * pixels.Width();
    const int copied = SetDIBitsToDevice(
        dc, part.x, part.y, static_cast<DWORD>(part.width), static_cast<DWORD>(part.height), part.x,
        0, 0, static_cast<UINT>(part.height), rows, &info, DIB_RGB_COLORS);
    if (copied == 0) frame_.WindowLost();
  }
  ReleaseDC(hwnd_, dc);
  presents_.NotePresent();
}

// ---- Size and resolution

D2D1_PIXEL_FORMAT* STDMETHODCALLTYPE HwndRenderTarget::GetPixelFormat(
    D2D1_PIXEL_FORMAT* format) const {
  *format = {DXGI_FORMAT_B8G8R8A8_UNORM, alphaMode_};
  return format;
}

void STDMETHODCALLTYPE HwndRenderTarget::SetDpi(FLOAT dpiX, FLOAT dpiY) {
  if (dpiX == 0.0f && dpiY == 0.0f) {
    ReadDesktopDpi(&dpiX_, &dpiY_);
  } else if (dpiX > 0.0f && dpiY > 0.0f) {
    dpiX_ = dpiX;
    dpiY_ = dpiY;
  }
}

void STDMETHODCALLTYPE HwndRenderTarget::GetDpi(FLOAT* dpiX, FLOAT* dpiY) const {
  if (dpiX != nullptr) *dpiX = dpiX_;
  if (dpiY != nullptr) *dpiY = dpiY_;
}

D2D1_SIZE_F* STDMETHODCALLTYPE HwndRenderTarget::GetSize(D2D1_SIZE_F* size) const {
  *size = {static_cast<FLOAT>(pixelSize_.width * 96.0 / dpiX_),
           static_cast<FLOAT>(pixelSize_.height * 96.0 / dpiY_)};
  return size;
}

BOOL STDMETHODCALLTYPE HwndRenderTarget::IsSupported(
    const D2D1_RENDER_TARGET_PROPERTIES* properties) const {
  if (properties == nullptr) return FALSE;
  const D2D1_PIXEL_FORMAT format = properties->pixelFormat;
  const bool formatOk =
      format.format == DXGI_FORMAT_UNKNOWN || format.format == DXGI_FORMAT_B8G8R8A8_UNORM;
  return formatOk && format.alphaMode != D2D1_ALPHA_MODE_STRAIGHT ? TRUE : FALSE;
}

D2D1_WINDOW_STATE STDMETHODCALLTYPE HwndRenderTarget::CheckWindowState() {
  const bool hidden = !IsWindowVisible(hwnd_) || IsIconic(hwnd_);
  return hidden ? D2D1_WINDOW_STATE_OCCLUDED : D2D1_WINDOW_STATE_NONE;
}

HRESULT STDMETHODCALLTYPE HwndRenderTarget::Resize(const D2D1_SIZE_U* pixelSize) {
  if (pixelSize == nullptr) return E_INVALIDARG;
  // A refused size leaves the frame as it was.
  if (!FrameSizeFits(*pixelSize)) return D2DERR_MAX_TEXTURE_SIZE_EXCEEDED;
  pixelSize_ = *pixelSize;
  frame_.Resize(static_cast<int>(pixelSize_.width), static_cast<int>(pixelSize_.height));
  return S_OK;
}

}  // namespace standin
