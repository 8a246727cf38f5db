#pragma once
// A render target that draws nothing and records, in order, the calls that the charts, the
// palettes and the application make on it.

#include <d2d1.h>

#include <vector>

#include "platform/d2d1/not_implemented.h"
#include "tests/support/fake_object.h"

namespace fakes {

enum class RenderOp {
  CreateSolidColorBrush,
  FillGeometry,
  DrawGeometry,
  SetTransform,
  SetAntialiasMode,
  Clear,
  BeginDraw,
  EndDraw,
};

// One recorded call; only the fields that belong to its operation are filled in.
struct RenderCall {
  RenderOp op = RenderOp::BeginDraw;
  // CreateSolidColorBrush: the requested colour. Clear: the clear colour (hasColor false when
  // none was given). FillGeometry / DrawGeometry: the colour of the brush when it is a solid one.
  bool hasColor = false;
  D2D1_COLOR_F color = {};
  // CreateSolidColorBrush.
  bool hasBrushProperties = false;
  D2D1_BRUSH_PROPERTIES brushProperties = {};
  HRESULT result = S_OK;                         // CreateSolidColorBrush
  ID2D1SolidColorBrush* createdBrush = nullptr;  // identity only; null when creation failed
  // FillGeometry / DrawGeometry (identities only: no references are kept).
  ID2D1Geometry* geometry = nullptr;
  ID2D1Brush* brush = nullptr;
  ID2D1Brush* opacityBrush = nullptr;
  FLOAT strokeWidth = 0.0f;
  ID2D1StrokeStyle* strokeStyle = nullptr;
  // SetTransform / SetAntialiasMode.
  D2D1_MATRIX_3X2_F transform = {};
  D2D1_ANTIALIAS_MODE antialiasMode = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
};

// The methods the program has no use for come from the Direct2D stand-in's list of what it does
// not implement: a drawing call among them fails the frame, whose EndDraw answers E_NOTIMPL.
class RecordingRenderTarget final
    : public standin::RenderTargetNotImplemented<FakeObject<ID2D1RenderTarget, ID2D1Resource>> {
 public:
  RecordingRenderTarget() = default;

  const std::vector<RenderCall>& Calls() const { return calls_; }
  std::vector<RenderCall> CallsOf(RenderOp op) const { return Matching(calls_, op); }
  void ForgetCalls() { calls_.clear(); }

  // The nth CreateSolidColorBrush from now (1 = the next one) fails with E_OUTOFMEMORY and
  // leaves its result empty; 0 turns the failure off.
  void FailBrushCreation(int nth) { brushCreation_.FailNth(nth); }

  // Recorded.
  HRESULT STDMETHODCALLTYPE CreateSolidColorBrush(const D2D1_COLOR_F* color,
                                                  const D2D1_BRUSH_PROPERTIES* brushProperties,
                                                  ID2D1SolidColorBrush** brush) override;
  void STDMETHODCALLTYPE FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush,
                                      ID2D1Brush* opacityBrush) override;
  void STDMETHODCALLTYPE DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, FLOAT strokeWidth,
                                      ID2D1StrokeStyle* strokeStyle) override;
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override {
    RenderCall& call = Record(RenderOp::SetTransform);
    if (transform != nullptr) call.transform = transform_ = *transform;
  }
  void STDMETHODCALLTYPE SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) override {
    Record(RenderOp::SetAntialiasMode).antialiasMode = antialiasMode_ = mode;
  }
  void STDMETHODCALLTYPE Clear(const D2D1_COLOR_F* color) override {
    RenderCall& call = Record(RenderOp::Clear);
    call.hasColor = color != nullptr;
    if (color != nullptr) call.color = *color;
  }
  void STDMETHODCALLTYPE BeginDraw() override { Record(RenderOp::BeginDraw); }
  HRESULT STDMETHODCALLTYPE EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) override {
    GetTags(tag1, tag2);
    Record(RenderOp::EndDraw);
    const HRESULT result = frameFailure_;
    frameFailure_ = S_OK;
    return result;
  }

  // Answered from the state above, not recorded.
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override {
    if (transform != nullptr) *transform = transform_;
  }
  D2D1_ANTIALIAS_MODE STDMETHODCALLTYPE GetAntialiasMode() const override { return antialiasMode_; }
#ifdef WIDL_EXPLICIT_AGGREGATE_RETURNS  // mingw-w64 spells out the hidden result pointer
  D2D1_SIZE_F* STDMETHODCALLTYPE GetSize(D2D1_SIZE_F* size) const override {
    *size = kSize;
    return size;
  }
  D2D1_SIZE_U* STDMETHODCALLTYPE GetPixelSize(D2D1_SIZE_U* size) const override {
    *size = PixelSize();
    return size;
  }
  D2D1_PIXEL_FORMAT* STDMETHODCALLTYPE GetPixelFormat(D2D1_PIXEL_FORMAT* format) const override {
    *format = kPixelFormat;
    return format;
  }
  using ID2D1RenderTarget::GetPixelFormat;
  using ID2D1RenderTarget::GetPixelSize;
  using ID2D1RenderTarget::GetSize;
#else
  D2D1_SIZE_F STDMETHODCALLTYPE GetSize() const override { return kSize; }
  D2D1_SIZE_U STDMETHODCALLTYPE GetPixelSize() const override { return PixelSize(); }
  D2D1_PIXEL_FORMAT STDMETHODCALLTYPE GetPixelFormat() const override { return kPixelFormat; }
#endif
  void STDMETHODCALLTYPE GetDpi(FLOAT* dpiX, FLOAT* dpiY) const override {
    if (dpiX != nullptr) *dpiX = 96.0f;
    if (dpiY != nullptr) *dpiY = 96.0f;
  }

  // Unused by the program: they do nothing or answer zero.
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    if (factory != nullptr) *factory = nullptr;
  }
  void STDMETHODCALLTYPE DrawLine(D2D1_POINT_2F, D2D1_POINT_2F, ID2D1Brush*, FLOAT,
                                  ID2D1StrokeStyle*) override {}
  void STDMETHODCALLTYPE DrawRectangle(const D2D1_RECT_F*, ID2D1Brush*, FLOAT,
                                       ID2D1StrokeStyle*) override {}
  void STDMETHODCALLTYPE FillRectangle(const D2D1_RECT_F*, ID2D1Brush*) override {}
  void STDMETHODCALLTYPE DrawEllipse(const D2D1_ELLIPSE*, ID2D1Brush*, FLOAT,
                                     ID2D1StrokeStyle*) override {}
  void STDMETHODCALLTYPE FillEllipse(const D2D1_ELLIPSE*, ID2D1Brush*) override {}
  void STDMETHODCALLTYPE SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE) override {}
  D2D1_TEXT_ANTIALIAS_MODE STDMETHODCALLTYPE GetTextAntialiasMode() const override {
    return D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
  }
  void STDMETHODCALLTYPE SetTextRenderingParams(IDWriteRenderingParams*) override {}
  void STDMETHODCALLTYPE GetTextRenderingParams(IDWriteRenderingParams** params) const override {
    if (params != nullptr) *params = nullptr;
  }
  void STDMETHODCALLTYPE SetTags(D2D1_TAG, D2D1_TAG) override {}
  void STDMETHODCALLTYPE GetTags(D2D1_TAG* tag1, D2D1_TAG* tag2) const override {
    if (tag1 != nullptr) *tag1 = 0;
    if (tag2 != nullptr) *tag2 = 0;
  }
  HRESULT STDMETHODCALLTYPE Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) override {
    GetTags(tag1, tag2);
    return S_OK;
  }
  void STDMETHODCALLTYPE SetDpi(FLOAT, FLOAT) override {}
  UINT32 STDMETHODCALLTYPE GetMaximumBitmapSize() const override { return 0; }
  BOOL STDMETHODCALLTYPE IsSupported(const D2D1_RENDER_TARGET_PROPERTIES*) const override {
    return FALSE;
  }

 private:
  static constexpr D2D1_PIXEL_FORMAT kPixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM,
                                                     D2D1_ALPHA_MODE_PREMULTIPLIED};
  D2D1_SIZE_U PixelSize() const {
    return {static_cast<UINT32>(kSize.width), static_cast<UINT32>(kSize.height)};
  }
  // A new call of kind op at the end of the log, for the caller to fill in.
  RenderCall& Record(RenderOp op) { return calls_.emplace_back(RenderCall{op}); }

  void FailFrameNotImplemented() const override { frameFailure_ = E_NOTIMPL; }

  std::vector<RenderCall> calls_;
  FailureSwitch brushCreation_;
  mutable HRESULT frameFailure_ = S_OK;
  static constexpr D2D1_SIZE_F kSize = {512.0f, 540.0f};
  D2D1_MATRIX_3X2_F transform_ = {{{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}}};
  D2D1_ANTIALIAS_MODE antialiasMode_ = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
};

}  // namespace fakes
