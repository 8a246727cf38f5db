#include "palette/opaque_brush.h"

orb::ComPtr<ID2D1SolidColorBrush> MakeOpaqueBrush(ID2D1RenderTarget* target, ID2DHelper* helper,
                                                  int red, int green, int blue) {
  orb::ComPtr<ID2D1SolidColorBrush> brush;
  if (target == nullptr || helper == nullptr) return brush;
  D2D1_BRUSH_PROPERTIES properties;
  properties.opacity = 1.0f;
  properties.transform = helper->MakeIdentityMatrix();
  const D2D1_COLOR_F colour =
      helper->MakeColor(static_cast<FLOAT>(red) / 255.0f, static_cast<FLOAT>(green) / 255.0f,
                        static_cast<FLOAT>(blue) / 255.0f, 1.0f);
  target->CreateSolidColorBrush(&colour, &properties, &brush);
  return brush;
}
