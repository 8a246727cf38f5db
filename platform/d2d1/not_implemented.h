#pragma once
// The shared answer of every creation method the stand-in does not offer.

#include <windows.h>

namespace standin {

template <typename T>
HRESULT NotImplemented(T** result) {
  if (result != nullptr) *result = nullptr;
  return E_NOTIMPL;
}

}  // namespace standin
