#pragma once
// The base of the recording fakes: a counted object of one Direct2D interface that also answers
// QueryInterface for the interfaces that one derives from, as Direct2D's own objects do.

#include "com/com_object.h"

namespace fakes {

template <typename Interface, typename... Bases>
class FakeObject : public orb::ComObject<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object != nullptr && ((iid == __uuidof(Bases)) || ...)) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    return orb::ComObject<Interface>::QueryInterface(iid, object);
  }
};

}  // namespace fakes
