#pragma once
// One implementation of IUnknown for every class of the program: reference counting,
// QueryInterface over the listed interfaces, and a process-wide count of live objects that
// tests use to prove that every reference was given back.

#include <windows.h>
#include <unknwn.h>

#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

#include <wrl/client.h>

// Declares the identifier of one of our own interfaces for both MSVC (__declspec(uuid)) and
// mingw (__CRT_UUID_DECL), so that __uuidof works with either compiler.
#if defined(__CRT_UUID_DECL)
#define ORB_DECLARE_UUID(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#else
#define ORB_DECLARE_UUID(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#endif

namespace orb {

using Microsoft::WRL::ComPtr;

// Live instances of every ComObject in the process.
LONG LiveObjectCount();

namespace detail {
void ObjectCreated();
void ObjectDestroyed();
}  // namespace detail

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == __uuidof(IUnknown)) {
      *object = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
    } else if (!(Offer<Interfaces>(iid, object) || ...)) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }

  ULONG STDMETHODCALLTYPE Release() override {
    const LONG remaining = InterlockedDecrement(&references_);
    if (remaining == 0) delete this;
    return static_cast<ULONG>(remaining);
  }

 protected:
  ComObject() { detail::ObjectCreated(); }
  virtual ~ComObject() { detail::ObjectDestroyed(); }

 private:
  template <typename Interface>
  bool Offer(REFIID iid, void** object) {
    if (iid != __uuidof(Interface)) return false;
    *object = static_cast<Interface*>(this);
    return true;
  }

  using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  LONG references_ = 1;
};

// Makes a new object with one reference owned by the result; empty when memory runs out.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  ComPtr<T> result;
  // Not Attach: mingw-w64's ComPtr::Attach adds a reference, MSVC's does not.
  *result.GetAddressOf() = new (std::nothrow) T(std::forward<Args>(args)...);
  return result;
}

}  // namespace orb
