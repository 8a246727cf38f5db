#pragma once
// Point-in-fill for a path: the winding number of the flattened filled figures, read with the
// path's fill rule. A point that misses the fill by less than the tolerance counts as inside.

#include "platform/d2d1/path.h"
#include "platform/d2d1/vec2.h"

namespace standin {

bool PathFillContains(const Path& path, const Affine& transform, double tolerance, Vec2 point);

}  // namespace standin
