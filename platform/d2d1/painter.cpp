#include "platform/d2d1/painter.h"

#include <cmath>

#include "platform/d2d1/flatten.h"

namespace standin {
namespace {

// Feeds flattened filled figures to the rasterizer, closing each one.
class FillEdges final : public FlattenSink {
 public:
  explicit FillEdges(Rasterizer& raster) : raster_(raster) {}

  void BeginFigure(Vec2 start, bool filled) override {
    filled_ = filled;
    start_ = start;
    last_ = start;
  }
  void LineTo(Vec2 point) override {
    if (filled_) raster_.AddEdge(last_, point);
    last_ = point;
  }
  void EndFigure(bool) override {
    if (filled_) raster_.AddEdge(last_, start_);
  }

 private:
  Rasterizer& raster_;
  bool filled_ = true;
  Vec2 start_, last_;
};

class RasterEdges final : public EdgeSink {
 public:
  explicit RasterEdges(Rasterizer& raster) : raster_(raster) {}
  void AddEdge(Vec2 from, Vec2 to) override { raster_.AddEdge(from, to); }

 private:
  Rasterizer& raster_;
};

class BlendSpans {
 public:
  BlendSpans(Surface& surface, const Paint& paint, const TileMask* clip)
      : surface_(surface), paint_(paint), clip_(clip) {}
  void Span(int y, int x, int count, float coverage) {
    if (clip_ == nullptr) {
      surface_.BlendSpan(y, x, count, coverage, paint_);
      return;
    }
    clip_->ForEachRun(y, x, count,
                      [&](int from, int n) { surface_.BlendSpan(y, from, n, coverage, paint_); });
  }

 private:
  Surface& surface_;
  const Paint& paint_;
  const TileMask* clip_;
};

}  // namespace

void Painter::Resize(int width, int height) {
  surface_.Resize(width, height);
  raster_.Resize(width, height);
}

void Painter::SetClip(const TileMask* clip) {
  clip_ = clip;
  int first = 0, last = surface_.Height() - 1;
  if (clip != nullptr && !clip->MarkedRows(&first, &last)) last = -1;  // nothing to change
  raster_.LimitRows(first, last);
}

void Painter::Clear(const Paint& paint) {
  if (clip_ == nullptr) {
    surface_.Clear(paint);
    return;
  }
  clip_->Rectangles(clipRects_);
  for (const PixelRect& rect : clipRects_) {
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
      surface_.FillSpan(y, rect.x, rect.width, paint);
    }
  }
}

FlattenView Painter::Frame(const Affine& toPixels, double margin) const {
  FlattenView view;
  view.toView = toPixels;
  view.box = {0.0, 0.0, static_cast<double>(surface_.Width()),
              static_cast<double>(surface_.Height())};
  view.margin = margin;
  return view;
}

void Painter::Fill(const Path& path, const Affine& toPixels, const Paint& paint) {
  FillEdges edges(raster_);
  FlattenPath(path, toPixels, kRenderTolerance, Frame(toPixels, 0.0), edges);
  Blend(path.GetFillRule(), paint);
}

void Painter::Stroke(const Path& path, const Affine& toPixels, double width, const Paint& paint) {
  // A width too large to offset by draws nothing, like one of zero.
  if (!std::isfinite(width)) return;
  RasterEdges edges(raster_);
  const double scale = toPixels.MaxScale();
  // No piece of a stroke reaches further from its line than the miter limit allows.
  const double reach = kMiterLimit * std::fabs(width) / 2.0 * scale;
  const FlattenView frame = Frame(toPixels, reach);
  stroker_.Start(width, kMiterLimit, toPixels, frame.box, edges);
  FlattenPath(path, Affine{}, scale > 0.0 ? kRenderTolerance / scale : kRenderTolerance, frame,
              stroker_);
  stroker_.Trim();
  if (stroker_.CoveredFrame()) {
    // The frame as one more piece, in the pieces' orientation.
    const Box& f = frame.box;
    raster_.AddEdge({f.right, f.top}, {f.right, f.bottom});
    raster_.AddEdge({f.left, f.bottom}, {f.left, f.top});
  }
  Blend(FillRule::Winding, paint);
}

void Painter::Blend(FillRule rule, const Paint& paint) {
  BlendSpans spans(surface_, paint, clip_);
  raster_.Sweep(rule, spans);
}

}  // namespace standin
