// The DLL's entry points: the factory, Direct2D's matrix helpers, the live-object count, and
// the leak report written when the process ends. Direct2D's own entry points answer through the
// route that step_aside.h chooses once: the stand-in's under Wine, the system's elsewhere.

#include <d2d1.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "com/com_object.h"
#include "platform/d2d1/d2d_convert.h"
#include "platform/d2d1/factory.h"
#include "platform/d2d1/step_aside.h"

namespace {

HRESULT WINAPI OwnCreateFactory(D2D1_FACTORY_TYPE factoryType, REFIID riid,
                                const D2D1_FACTORY_OPTIONS*, void** factory) {
  if (factory == nullptr) return E_POINTER;
  *factory = nullptr;
  if (factoryType != D2D1_FACTORY_TYPE_SINGLE_THREADED &&
      factoryType != D2D1_FACTORY_TYPE_MULTI_THREADED) {
    return E_INVALIDARG;
  }
  if (riid != __uuidof(ID2D1Factory)) return E_NOINTERFACE;
  auto made = orb::MakeComObject<standin::Factory>();
  if (!made) return E_OUTOFMEMORY;
  *factory = static_cast<ID2D1Factory*>(made.Detach());
  return S_OK;
}

void WINAPI OwnMakeRotateMatrix(FLOAT angle, D2D1_POINT_2F center, D2D1_MATRIX_3X2_F* matrix) {
  if (matrix == nullptr) return;
  const double radians = angle * std::numbers::pi / 180.0;
  const FLOAT c = static_cast<FLOAT>(std::cos(radians));
  const FLOAT s = static_cast<FLOAT>(std::sin(radians));
  *matrix = standin::MakeMatrix(c, s, -s, c, center.x - center.x * c + center.y * s,
                                center.y - center.x * s - center.y * c);
}

void WINAPI OwnMakeSkewMatrix(FLOAT angleX, FLOAT angleY, D2D1_POINT_2F center,
                              D2D1_MATRIX_3X2_F* matrix) {
  if (matrix == nullptr) return;
  const FLOAT tx = static_cast<FLOAT>(std::tan(angleX * std::numbers::pi / 180.0));
  const FLOAT ty = static_cast<FLOAT>(std::tan(angleY * std::numbers::pi / 180.0));
  *matrix = standin::MakeMatrix(1.0f, ty, tx, 1.0f, -center.y * tx, -center.x * ty);
}

BOOL WINAPI OwnIsMatrixInvertible(const D2D1_MATRIX_3X2_F* matrix) {
  if (matrix == nullptr) return FALSE;
  const double determinant = static_cast<double>(matrix->_11) * matrix->_22 -
                             static_cast<double>(matrix->_12) * matrix->_21;
  return determinant != 0.0 && std::isfinite(determinant) ? TRUE : FALSE;
}

BOOL WINAPI OwnInvertMatrix(D2D1_MATRIX_3X2_F* matrix) {
  if (!OwnIsMatrixInvertible(matrix)) return FALSE;
  // In double throughout: float products of the translation terms would lose digits first.
  const double m11 = matrix->_11, m12 = matrix->_12, m21 = matrix->_21, m22 = matrix->_22;
  const double m31 = matrix->_31, m32 = matrix->_32;
  const double d = m11 * m22 - m12 * m21;
  *matrix = standin::MakeMatrix(static_cast<FLOAT>(m22 / d), static_cast<FLOAT>(-m12 / d),
                                static_cast<FLOAT>(-m21 / d), static_cast<FLOAT>(m11 / d),
                                static_cast<FLOAT>((m21 * m32 - m22 * m31) / d),
                                static_cast<FLOAT>((m12 * m31 - m11 * m32) / d));
  return TRUE;
}

const standin::Direct2DEntries& Entries() {
  static const standin::Direct2DEntries own{&OwnCreateFactory, &OwnMakeRotateMatrix,
                                            &OwnMakeSkewMatrix, &OwnIsMatrixInvertible,
                                            &OwnInvertMatrix};
  static const standin::Route route = standin::ChooseRoute(standin::HostOfThisProcess(), own);
  return route.entries;
}

}  // namespace

extern "C" {

HRESULT WINAPI D2D1CreateFactory(D2D1_FACTORY_TYPE factoryType, REFIID riid,
                                 const D2D1_FACTORY_OPTIONS* options, void** factory) {
  return Entries().createFactory(factoryType, riid, options, factory);
}

void WINAPI D2D1MakeRotateMatrix(FLOAT angle, D2D1_POINT_2F center, D2D1_MATRIX_3X2_F* matrix) {
  Entries().makeRotateMatrix(angle, center, matrix);
}

void WINAPI D2D1MakeSkewMatrix(FLOAT angleX, FLOAT angleY, D2D1_POINT_2F center,
                               D2D1_MATRIX_3X2_F* matrix) {
  Entries().makeSkewMatrix(angleX, angleY, center, matrix);
}

WINBOOL WINAPI D2D1IsMatrixInvertible(const D2D1_MATRIX_3X2_F* matrix) {
  return Entries().isMatrixInvertible(matrix);
}

WINBOOL WINAPI D2D1InvertMatrix(D2D1_MATRIX_3X2_F* matrix) {
  return Entries().invertMatrix(matrix);
}

// How many of the stand-in's COM objects are alive, for tests that look for leaks in-process.
LONG WINAPI D2PieStandInLiveObjects() { return orb::LiveObjectCount(); }

}  // extern "C"

namespace {

// Writes "alive <N>" to the file that D2PIE_D2D1_LEAK_REPORT names, if it names one.
void WriteLeakReport() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"D2PIE_D2D1_LEAK_REPORT", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[32];
  const int size = std::snprintf(line, sizeof line, "alive %ld\n", orb::LiveObjectCount());
  DWORD written = 0;
  if (size > 0) WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) WriteLeakReport();
  return TRUE;
}
