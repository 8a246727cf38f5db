#pragma once
// A solid-colour brush that only remembers its colour, opacity and transform.

#include <d2d1.h>

#include "com/com_object.h"

namespace fakes {

class RecordingSolidColorBrush final : public orb::ComObject<ID2D1SolidColorBrush> {
 public:
  RecordingSolidColorBrush(const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties);

  // Also answers for the base interfaces ID2D1Brush and ID2D1Resource.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  void STDMETHODCALLTYPE GetFactory(ID2D1Factory** factory) const override;
  void STDMETHODCALLTYPE SetOpacity(FLOAT opacity) override;
  void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) override;
  FLOAT STDMETHODCALLTYPE GetOpacity() const override;
  void STDMETHODCALLTYPE GetTransform(D2D1_MATRIX_3X2_F* transform) const override;
  void STDMETHODCALLTYPE SetColor(const D2D1_COLOR_F* color) override;
#ifdef WIDL_EXPLICIT_AGGREGATE_RETURNS  // mingw-w64 spells out the hidden result pointer
  D2D1_COLOR_F* STDMETHODCALLTYPE GetColor(D2D1_COLOR_F* color) const override;
  using ID2D1SolidColorBrush::GetColor;
#else
  D2D1_COLOR_F STDMETHODCALLTYPE GetColor() const override;
#endif

 private:
  D2D1_COLOR_F color_;
  FLOAT opacity_ = 1.0f;
  D2D1_MATRIX_3X2_F transform_ = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
};

// A new brush of the given colour (opacity 1, identity transform), as a counted reference.
orb::ComPtr<ID2D1SolidColorBrush> MakeBrush(const D2D1_COLOR_F& color);

}  // namespace fakes
