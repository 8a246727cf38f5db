#include "platform/d2d1/solid_color_brush.h"

namespace standin {

SolidColorBrush::SolidColorBrush(ID2D1Factory* factory, const D2D1_COLOR_F& color,
                                 const D2D1_BRUSH_PROPERTIES* properties)
    : factory_(factory), color_(color) {
  if (properties != nullptr) {
    opacity_ = properties->opacity;
    transform_ = properties->transform;
  }
}

void STDMETHODCALLTYPE SolidColorBrush::SetTransform(const D2D1_MATRIX_3X2_F* transform) {
  if (transform != nullptr) transform_ = *transform;
}

void STDMETHODCALLTYPE SolidColorBrush::GetTransform(D2D1_MATRIX_3X2_F* transform) const {
  if (transform != nullptr) *transform = transform_;
}

void STDMETHODCALLTYPE SolidColorBrush::SetColor(const D2D1_COLOR_F* color) {
  if (color != nullptr) color_ = *color;
}

void STDMETHODCALLTYPE SolidColorBrush::GetPaint(Paint* paint) {
  if (paint != nullptr) *paint = MakePaint(color_.r, color_.g, color_.b, color_.a, opacity_);
}

}  // namespace standin
