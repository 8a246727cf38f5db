#pragma once
// Every method of Direct2D's interfaces that the stand-in does not implement, in one place. Each
// concrete class derives from the base for its interface (given its ComObject as Base) and spells
// out only what it implements; the vtable stays the one <d2d1.h> declares.
// - A creation method answers E_NOTIMPL with its result nulled.
// - A geometry query answers E_NOTIMPL.
// - A drawing call, or a call that would change what later calls draw, fails the frame: the
//   render target notes E_NOTIMPL, which its EndDraw reports as Direct2D reports any failed
//   drawing call. (Direct2D itself never answers E_NOTIMPL, so the code names the stand-in's
//   gap rather than a misuse by the program.)

#include <d2d1.h>

namespace standin {

template <typename T>
HRESULT NotImplemented(T** result) {
  if (result != nullptr) *result = nullptr;
  return E_NOTIMPL;
}

template <typename Base>
class FactoryNotImplemented : public Base {
 public:
  HRESULT STDMETHODCALLTYPE CreateRectangleGeometry(const D2D1_RECT_F*,
                                                    ID2D1RectangleGeometry** geometry) override {
    return NotImplemented(geometry);
  }
  HRESULT STDMETHODCALLTYPE CreateRoundedRectangleGeometry(
      const D2D1_ROUNDED_RECT*, ID2D1RoundedRectangleGeometry** geometry) override {
    return NotImplemented(geometry);
  }
  HRESULT STDMETHODCALLTYPE CreateEllipseGeometry(const D2D1_ELLIPSE*,
                                                  ID2D1EllipseGeometry** geometry) override {
    return NotImplemented(geometry);
  }
  HRESULT STDMETHODCALLTYPE CreateGeometryGroup(D2D1_FILL_MODE, ID2D1Geometry**, UINT,
                                                ID2D1GeometryGroup** group) override {
    return NotImplemented(group);
  }
  HRESULT STDMETHODCALLTYPE CreateTransformedGeometry(
      ID2D1Geometry*, const D2D1_MATRIX_3X2_F*, ID2D1TransformedGeometry** geometry) override {
    return NotImplemented(geometry);
  }
  HRESULT STDMETHODCALLTYPE CreateStrokeStyle(const D2D1_STROKE_STYLE_PROPERTIES*, const FLOAT*,
                                              UINT, ID2D1StrokeStyle** style) override {
    return NotImplemented(style);
  }
  HRESULT STDMETHODCALLTYPE CreateDrawingStateBlock(const D2D1_DRAWING_STATE_DESCRIPTION*,
                                                    IDWriteRenderingParams*,
                                                    ID2D1DrawingStateBlock** block) override {
    return NotImplemented(block);
  }
  HRESULT STDMETHODCALLTYPE CreateWicBitmapRenderTarget(IWICBitmap*,
                                                        const D2D1_RENDER_TARGET_PROPERTIES*,
                                                        ID2D1RenderTarget** target) override {
    return NotImplemented(target);
  }
  HRESULT STDMETHODCALLTYPE CreateDxgiSurfaceRenderTarget(IDXGISurface*,
                                                          const D2D1_RENDER_TARGET_PROPERTIES*,
                                                          ID2D1RenderTarget** target) override {
    return NotImplemented(target);
  }
  HRESULT STDMETHODCALLTYPE CreateDCRenderTarget(const D2D1_RENDER_TARGET_PROPERTIES*,
                                                 ID2D1DCRenderTarget** target) override {
    return NotImplemented(target);
  }
};

template <typename Base>
class PathGeometryNotImplemented : public Base {
 public:
  HRESULT STDMETHODCALLTYPE GetWidenedBounds(FLOAT, ID2D1StrokeStyle*, const D2D1_MATRIX_3X2_F*,
                                             FLOAT, D2D1_RECT_F*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE StrokeContainsPoint(D2D1_POINT_2F, FLOAT, ID2D1StrokeStyle*,
                                                const D2D1_MATRIX_3X2_F*, FLOAT,
                                                BOOL* contains) const override {
    if (contains != nullptr) *contains = FALSE;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareWithGeometry(ID2D1Geometry*, const D2D1_MATRIX_3X2_F*, FLOAT,
                                                D2D1_GEOMETRY_RELATION*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Simplify(D2D1_GEOMETRY_SIMPLIFICATION_OPTION, const D2D1_MATRIX_3X2_F*,
                                     FLOAT, ID2D1SimplifiedGeometrySink*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Tessellate(const D2D1_MATRIX_3X2_F*, FLOAT,
                                       ID2D1TessellationSink*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CombineWithGeometry(ID2D1Geometry*, D2D1_COMBINE_MODE,
                                                const D2D1_MATRIX_3X2_F*, FLOAT,
                                                ID2D1SimplifiedGeometrySink*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Outline(const D2D1_MATRIX_3X2_F*, FLOAT,
                                    ID2D1SimplifiedGeometrySink*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComputeArea(const D2D1_MATRIX_3X2_F*, FLOAT, FLOAT*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComputeLength(const D2D1_MATRIX_3X2_F*, FLOAT, FLOAT*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComputePointAtLength(FLOAT, const D2D1_MATRIX_3X2_F*, FLOAT,
                                                 D2D1_POINT_2F*, D2D1_POINT_2F*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Widen(FLOAT, ID2D1StrokeStyle*, const D2D1_MATRIX_3X2_F*, FLOAT,
                                  ID2D1SimplifiedGeometrySink*) const override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Stream(ID2D1GeometrySink*) const override { return E_NOTIMPL; }
};

template <typename Base>
class RenderTargetNotImplemented : public Base {
 public:
  // Resources
  HRESULT STDMETHODCALLTYPE CreateBitmap(D2D1_SIZE_U, const void*, UINT32,
                                         const D2D1_BITMAP_PROPERTIES*,
                                         ID2D1Bitmap** bitmap) override {
    return NotImplemented(bitmap);
  }
  HRESULT STDMETHODCALLTYPE CreateBitmapFromWicBitmap(IWICBitmapSource*,
                                                      const D2D1_BITMAP_PROPERTIES*,
                                                      ID2D1Bitmap** bitmap) override {
    return NotImplemented(bitmap);
  }
  HRESULT STDMETHODCALLTYPE CreateSharedBitmap(REFIID, void*, const D2D1_BITMAP_PROPERTIES*,
                                               ID2D1Bitmap** bitmap) override {
    return NotImplemented(bitmap);
  }
  HRESULT STDMETHODCALLTYPE CreateBitmapBrush(ID2D1Bitmap*, const D2D1_BITMAP_BRUSH_PROPERTIES*,
                                              const D2D1_BRUSH_PROPERTIES*,
                                              ID2D1BitmapBrush** brush) override {
    return NotImplemented(brush);
  }
  HRESULT STDMETHODCALLTYPE CreateGradientStopCollection(
      const D2D1_GRADIENT_STOP*, UINT, D2D1_GAMMA, D2D1_EXTEND_MODE,
      ID2D1GradientStopCollection** collection) override {
    return NotImplemented(collection);
  }
  HRESULT STDMETHODCALLTYPE CreateLinearGradientBrush(const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES*,
                                                      const D2D1_BRUSH_PROPERTIES*,
                                                      ID2D1GradientStopCollection*,
                                                      ID2D1LinearGradientBrush** brush) override {
    return NotImplemented(brush);
  }
  HRESULT STDMETHODCALLTYPE CreateRadialGradientBrush(const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES*,
                                                      const D2D1_BRUSH_PROPERTIES*,
                                                      ID2D1GradientStopCollection*,
                                                      ID2D1RadialGradientBrush** brush) override {
    return NotImplemented(brush);
  }
  HRESULT STDMETHODCALLTYPE CreateCompatibleRenderTarget(
      const D2D1_SIZE_F*, const D2D1_SIZE_U*, const D2D1_PIXEL_FORMAT*,
      D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS, ID2D1BitmapRenderTarget** target) override {
    return NotImplemented(target);
  }
  HRESULT STDMETHODCALLTYPE CreateLayer(const D2D1_SIZE_F*, ID2D1Layer** layer) override {
    return NotImplemented(layer);
  }
  HRESULT STDMETHODCALLTYPE CreateMesh(ID2D1Mesh** mesh) override { return NotImplemented(mesh); }

  // Drawing
  void STDMETHODCALLTYPE DrawRoundedRectangle(const D2D1_ROUNDED_RECT*, ID2D1Brush*, FLOAT,
                                              ID2D1StrokeStyle*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE FillRoundedRectangle(const D2D1_ROUNDED_RECT*, ID2D1Brush*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE FillMesh(ID2D1Mesh*, ID2D1Brush*) override { FailFrameNotImplemented(); }
  void STDMETHODCALLTYPE FillOpacityMask(ID2D1Bitmap*, ID2D1Brush*, D2D1_OPACITY_MASK_CONTENT,
                                         const D2D1_RECT_F*, const D2D1_RECT_F*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE DrawBitmap(ID2D1Bitmap*, const D2D1_RECT_F*, FLOAT,
                                    D2D1_BITMAP_INTERPOLATION_MODE, const D2D1_RECT_F*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE DrawText(const WCHAR*, UINT, IDWriteTextFormat*, const D2D1_RECT_F*,
                                  ID2D1Brush*, D2D1_DRAW_TEXT_OPTIONS,
                                  DWRITE_MEASURING_MODE) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE DrawTextLayout(D2D1_POINT_2F, IDWriteTextLayout*, ID2D1Brush*,
                                        D2D1_DRAW_TEXT_OPTIONS) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE DrawGlyphRun(D2D1_POINT_2F, const DWRITE_GLYPH_RUN*, ID2D1Brush*,
                                      DWRITE_MEASURING_MODE) override {
    FailFrameNotImplemented();
  }

  // State that would change what later calls draw (the stand-in makes no drawing-state blocks,
  // so saving into one fails too).
  void STDMETHODCALLTYPE PushLayer(const D2D1_LAYER_PARAMETERS*, ID2D1Layer*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE PopLayer() override { FailFrameNotImplemented(); }
  void STDMETHODCALLTYPE SaveDrawingState(ID2D1DrawingStateBlock*) const override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE RestoreDrawingState(ID2D1DrawingStateBlock*) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE PushAxisAlignedClip(const D2D1_RECT_F*, D2D1_ANTIALIAS_MODE) override {
    FailFrameNotImplemented();
  }
  void STDMETHODCALLTYPE PopAxisAlignedClip() override { FailFrameNotImplemented(); }

 protected:
  // Notes E_NOTIMPL as the frame's failure, for its EndDraw to report. Const because one of the
  // calls above is; the error state is not part of what the target draws.
  virtual void FailFrameNotImplemented() const = 0;
};

}  // namespace standin
