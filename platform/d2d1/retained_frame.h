#pragma once
// The frame of a window render target, kept from one EndDraw to the next so that a frame costs
// what changed rather than what the window measures. A frame's drawing calls are recorded and
// compared, call by call, with those of the frame before; only the tiles under the calls that
// differ (where they were and where they are now) are cleared and drawn again, by every call
// that reaches them, in order, which gives the same pixels as drawing the whole frame. What the
// window must be given comes back as rectangles of tiles: nothing when nothing changed, the
// whole frame after a resize or once the window has lost what it showed.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d2d1/painter.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/surface.h"
#include "platform/d2d1/tile_mask.h"
#include "platform/d2d1/vec2.h"

namespace standin {

class RetainedFrame {
 public:
  // A new size draws and presents the next frame whole; the same size changes nothing.
  void Resize(int width, int height);
  // For the calls that follow, in this frame and later ones.
  void SetAntialiased(bool antialiased) { antialiased_ = antialiased; }

  // The calls of one frame, from Begin to Finish or Abandon. A frame that does not clear draws
  // over the last one.
  void Begin();
  void Clear(const Paint& paint);
  void Fill(const Path& path, const Affine& toPixels, const Paint& paint);
  void Stroke(const Path& path, const Affine& toPixels, double width, const Paint& paint);
  // Draws the frame; returns the parts of it that the window does not show yet.
  const std::vector<PixelRect>& Finish();
  // The frame is not to be shown (its device was lost): pixels and window keep the last one.
  void Abandon() { count_ = 0; }

  // The window no longer shows the last frame: the next Finish gives it the whole frame.
  void WindowLost() { presentAll_ = true; }

  const Surface& Pixels() const { return painter_.Pixels(); }

 private:
  struct Call {
    enum class Kind : std::uint8_t { Fill, Stroke };
    Kind kind = Kind::Fill;
    bool antialiased = true;
    bool unchanged = false;  // equal to the call at the same place in the frame before
    Paint paint;
    Affine toPixels;
    double width = 0.0;
    Path path;
    Box reach;  // the pixels the call can change
  };

  Call& Record(Call::Kind kind, const Path& path, const Affine& toPixels, const Paint& paint);
  void Draw(const Call& call);
  void PresentAll();

  Painter painter_;
  int width_ = 0, height_ = 0;
  bool antialiased_ = true;
  // This frame's calls since its last Clear, and the frame before's; kept for their capacity.
  std::vector<Call> calls_, previous_;
  std::size_t count_ = 0, previousCount_ = 0;
  bool cleared_ = false, previousCleared_ = false;
  Paint clearPaint_, previousClearPaint_;
  // Whether the pixels are exactly the frame before's calls on its Clear.
  bool known_ = false;
  bool presentAll_ = true;
  TileMask dirty_;
  std::vector<PixelRect> present_;
};

}  // namespace standin
