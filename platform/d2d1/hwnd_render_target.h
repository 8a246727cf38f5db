#pragma once
// The stand-in's ID2D1HwndRenderTarget: draws into a frame kept in memory and, at EndDraw, gives
// the window the parts of it that changed (one blit per rectangle of changed tiles), or all of
// it when the window lost what it showed. Only solid-colour brushes and the stand-in's own path
// geometries (plus lines, rectangles and ellipses) are drawn, with the default stroke style.
//
// As in Direct2D, the first failure of a drawing call is the frame's error state: from then on
// nothing more is drawn, and EndDraw (or Flush, which also clears it) reports it with the tags
// that were set when it happened. A call the stand-in does not implement (not_implemented.h)
// fails the frame with E_NOTIMPL; a drawing call outside BeginDraw/EndDraw is noted as
// D2DERR_WRONG_STATE, which the next EndDraw reports.

#include <d2d1.h>
// For the text rendering parameters kept as state; nothing of DirectWrite is called.
#include <dwrite.h>

#include <vector>

#include "com/com_object.h"
#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/erase_watch.h"
#include "platform/d2d1/not_implemented.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/present_record.h"
#include "platform/d2d1/retained_frame.h"
#include "platform/d2d1/standin_interfaces.h"
#include "platform/d2d1/tile_mask.h"

namespace standin {

// The largest frame the stand-in draws: a side of at most kMaximumBitmapSize pixels and at most
// kMaximumFramePixels in all (a 64-megapixel frame already takes half a gigabyte of buffers).
// Larger sizes are refused with D2DERR_MAX_TEXTURE_SIZE_EXCEEDED instead of being allocated.
constexpr UINT32 kMaximumBitmapSize = 16384;
constexpr UINT64 kMaximumFramePixels = UINT64{1} << 26;
bool FrameSizeFits(D2D1_SIZE_U pixelSize);

class HwndRenderTarget final
    : public RenderTargetNotImplemented<orb::ComObject<ID2D1HwndRenderTarget>> {
 public:
  HwndRenderTarget(ID2D1Factory* factory, HWND hwnd, D2D1_SIZE_U pixelSize, FLOAT dpiX, FLOAT dpiY,
                   D2D1_ALPHA_MODE alphaMode);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return QueryWithInherited<ID2D1HwndRenderTarget, ID2D1RenderTarget, ID2D1Resource>(this, iid,
                                                                                       object);
  }

  // ID2D1Resource
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    HandOut(factory_.Get(), factory);
  }

  // ID2D1RenderTarget: resources
  HRESULT STDMETHODCALLTYPE CreateSolidColorBrush(const D2D1_COLOR_F* color,
                                                  const D2D1_BRUSH_PROPERTIES* properties,
                                                  ID2D1SolidColorBrush** brush) override;

  // ID2D1RenderTarget: drawing
  void STDMETHODCALLTYPE DrawLine(D2D1_POINT_2F point0, D2D1_POINT_2F point1, ID2D1Brush* brush,
                                  FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE DrawRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush,
                                       FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush) override;
  void STDMETHODCALLTYPE DrawEllipse(const D2D1_ELLIPSE* ellipse, ID2D1Brush* brush,
                                     FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillEllipse(const D2D1_ELLIPSE* ellipse, ID2D1Brush* brush) override;
  void STDMETHODCALLTYPE DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, FLOAT strokeWidth,
                                      ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush,
                                      ID2D1Brush* opacityBrush) override;

  // ID2D1RenderTarget: state
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override;
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override;
  void STDMETHODCALLTYPE SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) override;
  D2D1_ANTIALIAS_MODE STDMETHODCALLTYPE GetAntialiasMode() const override { return antialias_; }
  void STDMETHODCALLTYPE SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE mode) override;
  D2D1_TEXT_ANTIALIAS_MODE STDMETHODCALLTYPE GetTextAntialiasMode() const override {
    return textAntialias_;
  }
  void STDMETHODCALLTYPE SetTextRenderingParams(IDWriteRenderingParams* params) override;
  void STDMETHODCALLTYPE GetTextRenderingParams(IDWriteRenderingParams** params) const override;
  void STDMETHODCALLTYPE SetTags(D2D1_TAG tag1, D2D1_TAG tag2) override;
  void STDMETHODCALLTYPE GetTags(D2D1_TAG* tag1, D2D1_TAG* tag2) const override;
  HRESULT STDMETHODCALLTYPE Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) override;

  // ID2D1RenderTarget: frames
  void STDMETHODCALLTYPE Clear(const D2D1_COLOR_F* clearColor) override;
  void STDMETHODCALLTYPE BeginDraw() override;
  HRESULT STDMETHODCALLTYPE EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) override;

  // ID2D1RenderTarget: size and resolution (structures come back through a pointer, as in the
  // Microsoft ABI that <d2d1.h> follows here)
  D2D1_PIXEL_FORMAT* STDMETHODCALLTYPE GetPixelFormat(D2D1_PIXEL_FORMAT* format) const override;
  void STDMETHODCALLTYPE SetDpi(FLOAT dpiX, FLOAT dpiY) override;
  void STDMETHODCALLTYPE GetDpi(FLOAT* dpiX, FLOAT* dpiY) const override;
  D2D1_SIZE_F* STDMETHODCALLTYPE GetSize(D2D1_SIZE_F* size) const override;
  D2D1_SIZE_U* STDMETHODCALLTYPE GetPixelSize(D2D1_SIZE_U* size) const override {
    *size = pixelSize_;
    return size;
  }
  UINT32 STDMETHODCALLTYPE GetMaximumBitmapSize() const override { return kMaximumBitmapSize; }
  BOOL STDMETHODCALLTYPE IsSupported(
      const D2D1_RENDER_TARGET_PROPERTIES* properties) const override;

  // ID2D1HwndRenderTarget
  D2D1_WINDOW_STATE STDMETHODCALLTYPE CheckWindowState() override;
  HRESULT STDMETHODCALLTYPE Resize(const D2D1_SIZE_U* pixelSize) override;
  HWND STDMETHODCALLTYPE GetHwnd() const override { return hwnd_; }

 private:
  // The first failure since the last EndDraw or Flush, with the tags set when it happened.
  struct FrameError {
    HRESULT result = S_OK;
    D2D1_TAG tag1 = 0, tag2 = 0;
  };

  void FailFrameNotImplemented() const override { NoteError(E_NOTIMPL); }
  // Const for the calls that are; the error state is not part of what the target draws.
  void NoteError(HRESULT error) const;
  // Hands out the error state (tags as the caller asked) and clears it.
  HRESULT ReportError(D2D1_TAG* tag1, D2D1_TAG* tag2);

  Affine ToPixels() const;
  // Whether a drawing call may draw now: inside a frame that has not failed.
  bool MayDraw();
  // Whether a required argument is there; notes E_INVALIDARG when it is not.
  bool Given(const void* argument);
  // The paint of a drawing call, or false (with the error noted) when it cannot draw.
  bool DrawablePaint(ID2D1Brush* brush, Paint* paint);
  // The same for a stroke, which also needs a width and the default stroke style.
  bool StrokePaint(ID2D1Brush* brush, FLOAT strokeWidth, ID2D1StrokeStyle* style, Paint* paint);
  // The path of a geometry, or null (with the error noted) when it cannot be drawn.
  const Path* DrawablePath(ID2D1Geometry* geometry);
  // A rectangle or an ellipse, filled or stroked.
  template <typename Shape>
  void FillShape(const Shape* shape, ID2D1Brush* brush);
  template <typename Shape>
  void StrokeShape(const Shape* shape, ID2D1Brush* brush, FLOAT strokeWidth,
                   ID2D1StrokeStyle* style);
  void Present(const std::vector<PixelRect>& parts);

  orb::ComPtr<ID2D1Factory> factory_;
  HWND hwnd_;
  D2D1_SIZE_U pixelSize_;
  FLOAT dpiX_, dpiY_;
  D2D1_ALPHA_MODE alphaMode_;
  D2D1_MATRIX_3X2_F transform_ = IdentityMatrix();
  D2D1_ANTIALIAS_MODE antialias_ = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
  D2D1_TEXT_ANTIALIAS_MODE textAntialias_ = D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
  orb::ComPtr<IDWriteRenderingParams> textRenderingParams_;
  D2D1_TAG tag1_ = 0, tag2_ = 0;
  bool drawing_ = false;
  mutable FrameError error_;
  RetainedFrame frame_;
  EraseWatch eraseWatch_;
  PresentRecord presents_;
  Path scratch_;  // lines, rectangles and ellipses, rebuilt per call
};

}  // namespace standin
