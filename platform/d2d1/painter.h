#pragma once
// Draws paths onto a surface: fills with the path's fill rule, strokes with the default stroke
// style, both antialiased by exact area or aliased at pixel centres. Buffers are reused from
// frame to frame, so drawing allocates nothing once the sizes have settled.

#include <vector>

#include "platform/d2d1/flatten.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/rasterizer.h"
#include "platform/d2d1/stroker.h"
#include "platform/d2d1/surface.h"
#include "platform/d2d1/tile_mask.h"
#include "platform/d2d1/vec2.h"

namespace standin {

class Painter {
 public:
  // Curves are flattened this close to the truth, in pixels. Chords cut inside a curve, so a
  // circle loses about 4/3 tolerance/radius of its area: a hundredth of a pixel keeps even
  // small circles within a fraction of a percent.
  static constexpr double kRenderTolerance = 0.01;
  static constexpr double kMiterLimit = 10.0;

  void Resize(int width, int height);
  void SetAntialiased(bool antialiased) { raster_.SetAntialiased(antialiased); }

  // Drawing and clearing change only the pixels in the marked tiles of clip (which must fit the
  // surface, outlive its use and keep its marks while set), or every pixel while none is set.
  // Rows outside the marked tiles are not rasterized at all.
  void SetClip(const TileMask* clip);

  void Clear(const Paint& paint);
  // toPixels maps the path's coordinates to pixels (world transform and DPI scale).
  void Fill(const Path& path, const Affine& toPixels, const Paint& paint);
  void Stroke(const Path& path, const Affine& toPixels, double width, const Paint& paint);

  const Surface& Pixels() const { return surface_; }

 private:
  void Blend(FillRule rule, const Paint& paint);
  // The frame in pixels, where hulls widened by margin (pixels) must land to be drawn.
  FlattenView Frame(const Affine& toPixels, double margin) const;

  Surface surface_;
  const TileMask* clip_ = nullptr;
  std::vector<PixelRect> clipRects_;
  Rasterizer raster_;
  Stroker stroker_;
};

}  // namespace standin
