#pragma once
// Conversions from Direct2D's records to the stand-in's own geometry values.

#include <d2d1.h>

#include "platform/d2d1/vec2.h"

namespace standin {

inline Vec2 ToVec2(D2D1_POINT_2F p) { return {p.x, p.y}; }

// A null matrix stands for the identity.
inline Affine ToAffine(const D2D1_MATRIX_3X2_F* m) {
  if (m == nullptr) return Affine{};
  return {m->_11, m->_12, m->_21, m->_22, m->_31, m->_32};
}

}  // namespace standin
