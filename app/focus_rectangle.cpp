#include "app/focus_rectangle.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr FLOAT kDistanceDips = 2.0f;

// A line's thickness in whole device pixels: the border scaled to the DPI, never thicker, and
// at least one pixel.
FLOAT Thickness(UINT border, FLOAT pixelsPerDip) {
  return std::max(1.0f, std::floor(static_cast<FLOAT>(border) * pixelsPerDip));
}

D2D1_RECT_F Grown(const D2D1_RECT_F& r, FLOAT dx, FLOAT dy) {
  return {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

D2D1_RECT_F InDips(const D2D1_RECT_F& pixels, FLOAT pixelsPerDip) {
  return {pixels.left / pixelsPerDip, pixels.top / pixelsPerDip, pixels.right / pixelsPerDip,
          pixels.bottom / pixelsPerDip};
}

void DrawFrame(ID2D1RenderTarget* target, const FocusFrame& frame, ID2D1Brush* brush) {
  const D2D1_RECT_F& b = frame.bounds;
  const D2D1_RECT_F bands[] = {
      {b.left, b.top, b.right, b.top + frame.height},
      {b.left, b.bottom - frame.height, b.right, b.bottom},
      {b.left, b.top + frame.height, b.left + frame.width, b.bottom - frame.height},
      {b.right - frame.width, b.top + frame.height, b.right, b.bottom - frame.height}};
  for (const D2D1_RECT_F& band : bands) target->FillRectangle(&band, brush);
}

}  // namespace

FocusLines FocusRectangleAround(const D2D1_RECT_F& chart, FLOAT pixelsPerDip, UINT borderWidth,
                                UINT borderHeight) {
  const FLOAT s = pixelsPerDip > 0.0f ? pixelsPerDip : 1.0f;
  const FLOAT tw = Thickness(borderWidth, s);
  const FLOAT th = Thickness(borderHeight, s);
  // The pixel edges nearest to the chart that lie at least the distance outside it.
  const D2D1_RECT_F edge{
      std::floor((chart.left - kDistanceDips) * s), std::floor((chart.top - kDistanceDips) * s),
      std::ceil((chart.right + kDistanceDips) * s), std::ceil((chart.bottom + kDistanceDips) * s)};
  const D2D1_RECT_F inner = Grown(edge, tw, th);
  const D2D1_RECT_F outer = Grown(edge, 2.0f * tw, 2.0f * th);
  return FocusLines{{InDips(inner, s), tw / s, th / s}, {InDips(outer, s), tw / s, th / s}};
}

void DrawFocusRectangle(ID2D1RenderTarget* target, const FocusLines& lines, ID2D1Brush* inner,
                        ID2D1Brush* outer) {
  DrawFrame(target, lines.inner, inner);
  DrawFrame(target, lines.outer, outer);
}
