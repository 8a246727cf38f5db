#pragma once
// The stand-in's ID2D1SolidColorBrush: a colour, an opacity and a (for a solid colour
// invisible) transform.

#include <d2d1.h>

#include "com/com_object.h"
#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/standin_interfaces.h"

namespace standin {

class SolidColorBrush final : public orb::ComObject<ID2D1SolidColorBrush, IStandInBrush> {
 public:
  SolidColorBrush(ID2D1Factory* factory, const D2D1_COLOR_F& color,
                  const D2D1_BRUSH_PROPERTIES* properties);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return QueryWithInherited<ID2D1SolidColorBrush, ID2D1Brush, ID2D1Resource>(this, iid, object);
  }

  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    HandOut(factory_.Get(), factory);
  }

  void STDMETHODCALLTYPE SetOpacity(FLOAT opacity) override { opacity_ = opacity; }
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override;
  FLOAT STDMETHODCALLTYPE GetOpacity() const override { return opacity_; }
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override;

  void STDMETHODCALLTYPE SetColor(const D2D1_COLOR_F* color) override;
  D2D1_COLOR_F* STDMETHODCALLTYPE GetColor(D2D1_COLOR_F* color) const override {
    *color = color_;
    return color;
  }

  void STDMETHODCALLTYPE GetPaint(Paint* paint) override;

 private:
  orb::ComPtr<ID2D1Factory> factory_;
  D2D1_COLOR_F color_;
  FLOAT opacity_ = 1.0f;
  D2D1_MATRIX_3X2_F transform_ = IdentityMatrix();
};

}  // namespace standin
