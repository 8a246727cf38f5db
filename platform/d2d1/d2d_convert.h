#pragma once
// Conversions between Direct2D's records and the stand-in's own geometry values.

#include <d2d1.h>

#include "platform/d2d1/vec2.h"

namespace standin {

inline Vec2 ToVec2(D2D1_POINT_2F p) { return {p.x, p.y}; }

// A null matrix stands for the identity.
inline Affine ToAffine(const D2D1_MATRIX_3X2_F* m) {
  if (m == nullptr) return Affine{};
  return {m->_11, m->_12, m->_21, m->_22, m->_31, m->_32};
}

// Field by field: the structure keeps its fields in a union, so a flat initializer list would
// lean on brace elision.
inline D2D1_MATRIX_3X2_F MakeMatrix(FLOAT m11, FLOAT m12, FLOAT m21, FLOAT m22, FLOAT m31,
                                    FLOAT m32) {
  D2D1_MATRIX_3X2_F matrix;
  matrix._11 = m11;
  matrix._12 = m12;
  matrix._21 = m21;
  matrix._22 = m22;
  matrix._31 = m31;
  matrix._32 = m32;
  return matrix;
}

inline D2D1_MATRIX_3X2_F IdentityMatrix() { return MakeMatrix(1, 0, 0, 1, 0, 0); }

}  // namespace standin
