#pragma once
// A solid-colour brush that only remembers its colour, opacity and transform.

#include <d2d1.h>

#include "tests/support/fake_object.h"

namespace fakes {

class RecordingSolidColorBrush final
    : public FakeObject<ID2D1SolidColorBrush, ID2D1Brush, ID2D1Resource> {
 public:
  RecordingSolidColorBrush(const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties)
      : color_(color) {
    if (properties != nullptr) {
      opacity_ = properties->opacity;
      transform_ = properties->transform;
    }
  }

  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override {
    if (factory != nullptr) *factory = nullptr;
  }
  void STDMETHODCALLTYPE SetOpacity(FLOAT opacity) override { opacity_ = opacity; }
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override {
    if (transform != nullptr) transform_ = *transform;
  }
  FLOAT STDMETHODCALLTYPE GetOpacity() const override { return opacity_; }
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override {
    if (transform != nullptr) *transform = transform_;
  }
  void STDMETHODCALLTYPE SetColor(const D2D1_COLOR_F* color) override {
    if (color != nullptr) color_ = *color;
  }
#ifdef WIDL_EXPLICIT_AGGREGATE_RETURNS  // mingw-w64 spells out the hidden result pointer
  D2D1_COLOR_F* STDMETHODCALLTYPE GetColor(D2D1_COLOR_F* color) const override {
    *color = color_;
    return color;
  }
  using ID2D1SolidColorBrush::GetColor;
#else
  D2D1_COLOR_F STDMETHODCALLTYPE GetColor() const override { return color_; }
#endif

 private:
  D2D1_COLOR_F color_;
  FLOAT opacity_ = 1.0f;
  D2D1_MATRIX_3X2_F transform_ = {{{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}}};
};

// A new brush of the given colour (opacity 1, identity transform), as a counted reference.
inline orb::ComPtr<ID2D1SolidColorBrush> MakeBrush(const D2D1_COLOR_F& color) {
  return orb::MakeComObject<RecordingSolidColorBrush>(color, nullptr);
}

}  // namespace fakes
