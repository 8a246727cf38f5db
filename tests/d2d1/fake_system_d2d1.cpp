// A fake of the system's own d2d1.dll for the step-aside tests: each export notes its call with
// its arguments and answers what neither Direct2D nor the stand-in would, so that a test sees
// where a call went. It exports no D2PieStandInLiveObjects: it is not a stand-in.

#include <d2d1.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

char calls[2048];

template <typename... Values>
void Note(const char* format, Values... values) {
  const std::size_t used = std::strlen(calls);
  std::snprintf(calls + used, sizeof calls - used, format, values...);
}

void Sevens(D2D1_MATRIX_3X2_F* matrix) {
  if (matrix == nullptr) return;
  matrix->_11 = matrix->_12 = matrix->_21 = matrix->_22 = matrix->_31 = matrix->_32 = 7.0f;
}

}  // namespace

extern "C" {

HRESULT WINAPI D2D1CreateFactory(D2D1_FACTORY_TYPE type, REFIID riid, const D2D1_FACTORY_OPTIONS*,
                                 void** factory) {
  Note("D2D1CreateFactory(%d, %s)\n", static_cast<int>(type),
       riid == __uuidof(ID2D1Factory) ? "ID2D1Factory" : "another interface");
  if (factory != nullptr) *factory = nullptr;
  return E_ABORT;
}

void WINAPI D2D1MakeRotateMatrix(FLOAT angle, D2D1_POINT_2F center, D2D1_MATRIX_3X2_F* matrix) {
  Note("D2D1MakeRotateMatrix(%g, %g, %g)\n", angle, center.x, center.y);
  Sevens(matrix);
}

void WINAPI D2D1MakeSkewMatrix(FLOAT angleX, FLOAT angleY, D2D1_POINT_2F center,
                               D2D1_MATRIX_3X2_F* matrix) {
  Note("D2D1MakeSkewMatrix(%g, %g, %g, %g)\n", angleX, angleY, center.x, center.y);
  Sevens(matrix);
}

WINBOOL WINAPI D2D1IsMatrixInvertible(const D2D1_MATRIX_3X2_F* matrix) {
  Note("D2D1IsMatrixInvertible(%g)\n", matrix != nullptr ? matrix->_11 : -1.0f);
  return TRUE;
}

WINBOOL WINAPI D2D1InvertMatrix(D2D1_MATRIX_3X2_F* matrix) {
  Note("D2D1InvertMatrix(%g)\n", matrix != nullptr ? matrix->_11 : -1.0f);
  Sevens(matrix);
  return TRUE;
}

// The calls so far, one line each.
const char* WINAPI FakeDirect2DCalls() { return calls; }

}  // extern "C"
