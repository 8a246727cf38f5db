#pragma once
// The exact axis-aligned bounds of a path after a transform: curve extremes are solved for,
// not sampled, so the box is tight around arcs and Béziers.

#include "platform/d2d1/path.h"
#include "platform/d2d1/vec2.h"

namespace standin {

// An empty path gives a box whose left exceeds its right.
Box PathBounds(const Path& path, const Affine& transform);

}  // namespace standin
