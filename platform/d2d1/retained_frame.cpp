#include "platform/d2d1/retained_frame.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "platform/d2d1/path_bounds.h"

namespace standin {
namespace {

// Exact comparisons: a call is redrawn unless everything that its pixels follow from is equal.
// The sizes fail to compile when a member is added, so that it is added here too.
static_assert(sizeof(EndpointArc) == 104 && sizeof(Segment) == 160 && sizeof(Figure) == 32,
              "compare every member below");

bool Same(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

bool Same(const EndpointArc& a, const EndpointArc& b) {
  return a.kind == b.kind && Same(a.start, b.start) && Same(a.center, b.center) && a.rx == b.rx &&
         a.ry == b.ry && a.cosPhi == b.cosPhi && a.sinPhi == b.sinPhi &&
         a.startAngle == b.startAngle && a.cosStart == b.cosStart && a.sinStart == b.sinStart &&
         a.sweep == b.sweep;
}

bool Same(const Segment& a, const Segment& b) {
  return a.kind == b.kind && Same(a.control1, b.control1) && Same(a.control2, b.control2) &&
         Same(a.end, b.end) && Same(a.arc, b.arc);
}

bool Same(const Figure& a, const Figure& b) {
  return Same(a.start, b.start) && a.filled == b.filled && a.closed == b.closed &&
         a.firstSegment == b.firstSegment && a.segmentCount == b.segmentCount;
}

bool Same(const Path& a, const Path& b) {
  return a.GetFillRule() == b.GetFillRule() &&
         std::equal(a.Figures().begin(), a.Figures().end(), b.Figures().begin(), b.Figures().end(),
                    [](const Figure& x, const Figure& y) { return Same(x, y); }) &&
         std::equal(a.Segments().begin(), a.Segments().end(), b.Segments().begin(),
                    b.Segments().end(),
                    [](const Segment& x, const Segment& y) { return Same(x, y); });
}

bool Same(const Paint& a, const Paint& b) {
  return a.pixel == b.pixel && a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool Same(const Affine& a, const Affine& b) {
  return a.m11 == b.m11 && a.m12 == b.m12 && a.m21 == b.m21 && a.m22 == b.m22 && a.dx == b.dx &&
         a.dy == b.dy;
}

// Antialiasing reaches into the pixels that an edge passes near.
Box Widened(Box box, double by) {
  if (box.Empty()) return box;
  box.left -= by;
  box.top -= by;
  box.right += by;
  box.bottom += by;
  return box;
}

}  // namespace

void RetainedFrame::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  painter_.Resize(width, height);
  dirty_.Resize(width, height);
  known_ = false;
  presentAll_ = true;
}

void RetainedFrame::Begin() {
  count_ = 0;
  cleared_ = false;
}

void RetainedFrame::Clear(const Paint& paint) {
  // What was drawn before is covered.
  count_ = 0;
  cleared_ = true;
  clearPaint_ = paint;
}

RetainedFrame::Call& RetainedFrame::Record(Call::Kind kind, const Path& path,
                                           const Affine& toPixels, const Paint& paint) {
  if (count_ == calls_.size()) calls_.emplace_back();
  Call& call = calls_[count_];
  call.kind = kind;
  call.antialiased = antialiased_;
  call.paint = paint;
  call.toPixels = toPixels;
  call.width = 0.0;
  call.path = path;
  return call;
}

void RetainedFrame::Fill(const Path& path, const Affine& toPixels, const Paint& paint) {
  Call& call = Record(Call::Kind::Fill, path, toPixels, paint);
  const Call* before = known_ && count_ < previousCount_ ? &previous_[count_] : nullptr;
  ++count_;
  call.unchanged = before != nullptr && before->kind == call.kind &&
                   before->antialiased == call.antialiased && Same(before->paint, paint) &&
                   Same(before->toPixels, toPixels) && Same(before->path, path);
  call.reach = call.unchanged ? before->reach : Widened(PathBounds(path, toPixels), 1.0);
}

void RetainedFrame::Stroke(const Path& path, const Affine& toPixels, double width,
                           const Paint& paint) {
  Call& call = Record(Call::Kind::Stroke, path, toPixels, paint);
  call.width = width;
  const Call* before = known_ && count_ < previousCount_ ? &previous_[count_] : nullptr;
  ++count_;
  call.unchanged = before != nullptr && before->kind == call.kind &&
                   before->antialiased == call.antialiased && before->width == width &&
                   Same(before->paint, paint) && Same(before->toPixels, toPixels) &&
                   Same(before->path, path);
  if (call.unchanged) {
    call.reach = before->reach;
    return;
  }
  // The outline keeps within half the width of the path before the transform, and a miter cut
  // at the limit within that many half widths along its bisector and one across it.
  const Box around = Widened(PathBounds(path, Affine{}),
                             width / 2.0 * std::hypot(std::max(Painter::kMiterLimit, 1.0), 1.0));
  Box reach;
  if (!around.Empty()) {
    for (const Vec2 corner :
         {Vec2{around.left, around.top}, Vec2{around.right, around.top},
          Vec2{around.left, around.bottom}, Vec2{around.right, around.bottom}}) {
      reach.Add(toPixels.Apply(corner));
    }
  }
  call.reach = Widened(reach, 1.0);
}

void RetainedFrame::Draw(const Call& call) {
  painter_.SetAntialiased(call.antialiased);
  if (call.kind == Call::Kind::Fill) {
    painter_.Fill(call.path, call.toPixels, call.paint);
  } else {
    painter_.Stroke(call.path, call.toPixels, call.width, call.paint);
  }
}

void RetainedFrame::PresentAll() {
  present_.clear();
  if (width_ > 0 && height_ > 0) present_.push_back({0, 0, width_, height_});
}

const std::vector<PixelRect>& RetainedFrame::Finish() {
  present_.clear();
  dirty_.Reset();
  if (!cleared_) {
    // Drawn over the last frame, which changes what the calls reach; the pixels are no longer
    // a list of calls on a Clear, so the next frame is drawn whole.
    for (std::size_t i = 0; i < count_; ++i) {
      dirty_.Mark(calls_[i].reach);
      Draw(calls_[i]);
    }
    known_ = false;
  } else if (!known_ || !previousCleared_ || !Same(clearPaint_, previousClearPaint_)) {
    // Nothing to compare with, or a new background: every pixel is drawn and given anew.
    painter_.Clear(clearPaint_);
    for (std::size_t i = 0; i < count_; ++i) Draw(calls_[i]);
    known_ = true;
    presentAll_ = true;
  } else {
    const std::size_t longer = std::max(count_, previousCount_);
    for (std::size_t i = 0; i < longer; ++i) {
      if (i < count_ && calls_[i].unchanged) continue;
      if (i < count_) dirty_.Mark(calls_[i].reach);
      if (i < previousCount_) dirty_.Mark(previous_[i].reach);
    }
    if (dirty_.Any()) {
      painter_.SetClip(&dirty_);
      painter_.Clear(clearPaint_);
      for (std::size_t i = 0; i < count_; ++i) {
        const Box& reach = calls_[i].reach;
        if (!dirty_.Touches(reach)) continue;
        // A call wholly within the tiles drawn again needs no clipping.
        painter_.SetClip(dirty_.Covers(reach) ? nullptr : &dirty_);
        Draw(calls_[i]);
      }
      painter_.SetClip(nullptr);
    }
  }
  if (presentAll_) {
    PresentAll();
  } else {
    dirty_.Rectangles(present_);
  }
  presentAll_ = false;
  std::swap(calls_, previous_);
  previousCount_ = count_;
  previousCleared_ = cleared_;
  previousClearPaint_ = clearPaint_;
  count_ = 0;
  cleared_ = false;
  return present_;
}

}  // namespace standin
