#pragma once
// Interfaces private to the stand-in, through which the render target reaches the contents of
// the geometries and brushes handed to it (objects of any other origin do not answer them).

#include <d2d1.h>

#include "com/com_object.h"
#include "platform/d2d1/path.h"
#include "platform/d2d1/surface.h"

// mingw-w64's <d2d1.h> declares no identifier for this interface.
ORB_DECLARE_UUID(ID2D1HwndRenderTarget, 0x2cd90698, 0x12e2, 0x11dc, 0x9f, 0xed, 0x00, 0x11, 0x43,
                 0xa0, 0x55, 0xf9)

struct DECLSPEC_UUID("1903A2F5-7AE0-409D-9224-864824B665A9") DECLSPEC_NOVTABLE IStandInPath
    : public IUnknown {
  // The path once the geometry has been closed successfully; null before.
  virtual const standin::Path* STDMETHODCALLTYPE ClosedPath() = 0;
};
ORB_DECLARE_UUID(IStandInPath, 0x1903a2f5, 0x7ae0, 0x409d, 0x92, 0x24, 0x86, 0x48, 0x24, 0xb6, 0x65,
                 0xa9)

struct DECLSPEC_UUID("AA1A381D-4ADE-42F3-9C3D-7021226830AE") DECLSPEC_NOVTABLE IStandInBrush
    : public IUnknown {
  // The brush's colour with its opacity applied.
  virtual void STDMETHODCALLTYPE GetPaint(standin::Paint* paint) = 0;
};
ORB_DECLARE_UUID(IStandInBrush, 0xaa1a381d, 0x4ade, 0x42f3, 0x9c, 0x3d, 0x70, 0x21, 0x22, 0x68,
                 0x30, 0xae)

namespace standin {

// QueryInterface of an object whose public interface Interface inherits from Inherited: those
// are answered too, with the same pointer (its ComObject answers only the interfaces it lists).
template <typename Interface, typename... Inherited, typename Object>
HRESULT QueryWithInherited(Object* object, REFIID iid, void** result) {
  if (result != nullptr && ((iid == __uuidof(Inherited)) || ...)) {
    *result = static_cast<Interface*>(object);
    object->AddRef();
    return S_OK;
  }
  return object->ComObject::QueryInterface(iid, result);
}

// GetFactory of a resource made by owner.
inline void HandOut(ID2D1Factory* owner, ID2D1Factory** factory) {
  if (factory == nullptr) return;
  *factory = owner;
  if (owner != nullptr) owner->AddRef();
}

}  // namespace standin
