#include "tests/support/recording_brush.h"

namespace fakes {

RecordingSolidColorBrush::RecordingSolidColorBrush(const D2D1_COLOR_F& color,
                                                   const D2D1_BRUSH_PROPERTIES* properties)
    : color_(color) {
  if (properties != nullptr) {
    opacity_ = properties->opacity;
    transform_ = properties->transform;
  }
}

HRESULT STDMETHODCALLTYPE RecordingSolidColorBrush::QueryInterface(REFIID iid, void** object) {
  if (object != nullptr && (iid == __uuidof(ID2D1Brush) || iid == __uuidof(ID2D1Resource))) {
    *object = static_cast<ID2D1SolidColorBrush*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

void STDMETHODCALLTYPE RecordingSolidColorBrush::GetFactory(ID2D1Factory** factory) const {
  if (factory != nullptr) *factory = nullptr;
}

void STDMETHODCALLTYPE RecordingSolidColorBrush::SetOpacity(FLOAT opacity) { opacity_ = opacity; }

void STDMETHODCALLTYPE RecordingSolidColorBrush::SetTransform(const D2D1_MATRIX_3X2_F* transform) {
  if (transform != nullptr) transform_ = *transform;
}

FLOAT STDMETHODCALLTYPE RecordingSolidColorBrush::GetOpacity() const { return opacity_; }

void STDMETHODCALLTYPE RecordingSolidColorBrush::GetTransform(D2D1_MATRIX_3X2_F* transform) const {
  if (transform != nullptr) *transform = transform_;
}

void STDMETHODCALLTYPE RecordingSolidColorBrush::SetColor(const D2D1_COLOR_F* color) {
  if (color != nullptr) color_ = *color;
}

#ifdef WIDL_EXPLICIT_AGGREGATE_RETURNS
D2D1_COLOR_F* STDMETHODCALLTYPE RecordingSolidColorBrush::GetColor(D2D1_COLOR_F* color) const {
  *color = color_;
  return color;
}
#else
D2D1_COLOR_F STDMETHODCALLTYPE RecordingSolidColorBrush::GetColor() const { return color_; }
#endif

orb::ComPtr<ID2D1SolidColorBrush> MakeBrush(const D2D1_COLOR_F& color) {
  return orb::MakeComObject<RecordingSolidColorBrush>(color, nullptr);
}

}  // namespace fakes
