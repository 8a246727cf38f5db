#pragma once
// The stand-in's ID2D1HwndRenderTarget: draws into a frame kept in memory and, at EndDraw, gives
// the window the parts of it that changed (one blit per rectangle of changed tiles), or all of
// it when the window lost what it showed. Only solid-colour brushes and the stand-in's own path
// geometries (plus lines, rectangles and ellipses) are drawn; every other drawing call is
// ignored and every other creation call answers E_NOTIMPL.

#include <d2d1.h>

#include <vector>

#include "com/com_object.h"
#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/erase_watch.h"
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

class HwndRenderTarget final : public orb::ComObject<ID2D1HwndRenderTarget> {
 public:
  HwndRenderTarget(ID2D1Factory* factory, HWND hwnd, D2D1_SIZE_U pixelSize, FLOAT dpiX, FLOAT dpiY,
                   D2D1_ALPHA_MODE alphaMode);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  // ID2D1Resource
  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override;

  // ID2D1RenderTarget: resources
  HRESULT STDMETHODCALLTYPE CreateBitmap(D2D1_SIZE_U, const void*, UINT32,
                                         const D2D1_BITMAP_PROPERTIES*,
                                         ID2D1Bitmap** bitmap) override;
  HRESULT STDMETHODCALLTYPE CreateBitmapFromWicBitmap(IWICBitmapSource*,
                                                      const D2D1_BITMAP_PROPERTIES*,
                                                      ID2D1Bitmap** bitmap) override;
  HRESULT STDMETHODCALLTYPE CreateSharedBitmap(REFIID, void*, const D2D1_BITMAP_PROPERTIES*,
                                               ID2D1Bitmap** bitmap) override;
  HRESULT STDMETHODCALLTYPE CreateBitmapBrush(ID2D1Bitmap*, const D2D1_BITMAP_BRUSH_PROPERTIES*,
                                              const D2D1_BRUSH_PROPERTIES*,
                                              ID2D1BitmapBrush** brush) override;
  HRESULT STDMETHODCALLTYPE CreateSolidColorBrush(const D2D1_COLOR_F* color,
                                                  const D2D1_BRUSH_PROPERTIES* properties,
                                                  ID2D1SolidColorBrush** brush) override;
  HRESULT STDMETHODCALLTYPE CreateGradientStopCollection(
      const D2D1_GRADIENT_STOP*, UINT, D2D1_GAMMA, D2D1_EXTEND_MODE,
      ID2D1GradientStopCollection** collection) override;
  HRESULT STDMETHODCALLTYPE CreateLinearGradientBrush(const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES*,
                                                      const D2D1_BRUSH_PROPERTIES*,
                                                      ID2D1GradientStopCollection*,
                                                      ID2D1LinearGradientBrush** brush) override;
  HRESULT STDMETHODCALLTYPE CreateRadialGradientBrush(const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES*,
                                                      const D2D1_BRUSH_PROPERTIES*,
                                                      ID2D1GradientStopCollection*,
                                                      ID2D1RadialGradientBrush** brush) override;
  HRESULT STDMETHODCALLTYPE CreateCompatibleRenderTarget(const D2D1_SIZE_F*, const D2D1_SIZE_U*,
                                                         const D2D1_PIXEL_FORMAT*,
                                                         D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS,
                                                         ID2D1BitmapRenderTarget** target) override;
  HRESULT STDMETHODCALLTYPE CreateLayer(const D2D1_SIZE_F*, ID2D1Layer** layer) override;
  HRESULT STDMETHODCALLTYPE CreateMesh(ID2D1Mesh** mesh) override;

  // ID2D1RenderTarget: drawing
  void STDMETHODCALLTYPE DrawLine(D2D1_POINT_2F point0, D2D1_POINT_2F point1, ID2D1Brush* brush,
                                  FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE DrawRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush,
                                       FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillRectangle(const D2D1_RECT_F* rect, ID2D1Brush* brush) override;
  void STDMETHODCALLTYPE DrawRoundedRectangle(const D2D1_ROUNDED_RECT*, ID2D1Brush*, FLOAT,
                                              ID2D1StrokeStyle*) override {}
  void STDMETHODCALLTYPE FillRoundedRectangle(const D2D1_ROUNDED_RECT*, ID2D1Brush*) override {}
  void STDMETHODCALLTYPE DrawEllipse(const D2D1_ELLIPSE* ellipse, ID2D1Brush* brush,
                                     FLOAT strokeWidth, ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillEllipse(const D2D1_ELLIPSE* ellipse, ID2D1Brush* brush) override;
  void STDMETHODCALLTYPE DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, FLOAT strokeWidth,
                                      ID2D1StrokeStyle*) override;
  void STDMETHODCALLTYPE FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush,
                                      ID2D1Brush* opacityBrush) override;
  void STDMETHODCALLTYPE FillMesh(ID2D1Mesh*, ID2D1Brush*) override {}
  void STDMETHODCALLTYPE FillOpacityMask(ID2D1Bitmap*, ID2D1Brush*, D2D1_OPACITY_MASK_CONTENT,
                                         const D2D1_RECT_F*, const D2D1_RECT_F*) override {}
  void STDMETHODCALLTYPE DrawBitmap(ID2D1Bitmap*, const D2D1_RECT_F*, FLOAT,
                                    D2D1_BITMAP_INTERPOLATION_MODE, const D2D1_RECT_F*) override {}
  void STDMETHODCALLTYPE DrawText(const WCHAR*, UINT, IDWriteTextFormat*, const D2D1_RECT_F*,
                                  ID2D1Brush*, D2D1_DRAW_TEXT_OPTIONS,
                                  DWRITE_MEASURING_MODE) override {}
  void STDMETHODCALLTYPE DrawTextLayout(D2D1_POINT_2F, IDWriteTextLayout*, ID2D1Brush*,
                                        D2D1_DRAW_TEXT_OPTIONS) override {}
  void STDMETHODCALLTYPE DrawGlyphRun(D2D1_POINT_2F, const DWRITE_GLYPH_RUN*, ID2D1Brush*,
                                      DWRITE_MEASURING_MODE) override {}

  // ID2D1RenderTarget: state
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override;
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override;
  void STDMETHODCALLTYPE SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) override;
  D2D1_ANTIALIAS_MODE STDMETHODCALLTYPE GetAntialiasMode() const override { return antialias_; }
  void STDMETHODCALLTYPE SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE mode) override;
  D2D1_TEXT_ANTIALIAS_MODE STDMETHODCALLTYPE GetTextAntialiasMode() const override {
    return textAntialias_;
  }
  void STDMETHODCALLTYPE SetTextRenderingParams(IDWriteRenderingParams*) override {}
  void STDMETHODCALLTYPE GetTextRenderingParams(IDWriteRenderingParams** params) const override;
  void STDMETHODCALLTYPE SetTags(D2D1_TAG tag1, D2D1_TAG tag2) override;
  void STDMETHODCALLTYPE GetTags(D2D1_TAG* tag1, D2D1_TAG* tag2) const override;
  void STDMETHODCALLTYPE PushLayer(const D2D1_LAYER_PARAMETERS*, ID2D1Layer*) override {}
  void STDMETHODCALLTYPE PopLayer() override {}
  HRESULT STDMETHODCALLTYPE Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) override;
  void STDMETHODCALLTYPE SaveDrawingState(ID2D1DrawingStateBlock*) const override {}
  void STDMETHODCALLTYPE RestoreDrawingState(ID2D1DrawingStateBlock*) override {}
  void STDMETHODCALLTYPE PushAxisAlignedClip(const D2D1_RECT_F*, D2D1_ANTIALIAS_MODE) override {}
  void STDMETHODCALLTYPE PopAxisAlignedClip() override {}

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
  Affine ToPixels() const;
  // The path and paint of a drawing call, or null (with the error noted) when it cannot draw.
  const Path* DrawablePath(ID2D1Geometry* geometry);
  bool DrawablePaint(ID2D1Brush* brush, Paint* paint);
  void FillScratch(ID2D1Brush* brush);
  void StrokeScratch(ID2D1Brush* brush, FLOAT strokeWidth);
  void NoteError(HRESULT error);
  void Present(const std::vector<PixelRect>& parts);

  orb::ComPtr<ID2D1Factory> factory_;
  HWND hwnd_;
  D2D1_SIZE_U pixelSize_;
  FLOAT dpiX_, dpiY_;
  D2D1_ALPHA_MODE alphaMode_;
  D2D1_MATRIX_3X2_F transform_ = IdentityMatrix();
  D2D1_ANTIALIAS_MODE antialias_ = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
  D2D1_TEXT_ANTIALIAS_MODE textAntialias_ = D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
  D2D1_TAG tag1_ = 0, tag2_ = 0;
  bool drawing_ = false;
  HRESULT error_ = S_OK;  // the first failure of this frame, reported by EndDraw
  RetainedFrame frame_;
  EraseWatch eraseWatch_;
  PresentRecord presents_;
  Path scratch_;  // lines, rectangles and ellipses, rebuilt per call
};

}  // namespace standin
