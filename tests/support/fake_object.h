#pragma once
// The base of the recording fakes: a counted object of one Direct2D interface that also answers
// QueryInterface for the interfaces that one derives from, as Direct2D's own objects do.

#include <vector>

#include "com/com_object.h"

namespace fakes {

// The calls of one kind in a log, in order.
template <typename Call, typename Op>
std::vector<Call> Matching(const std::vector<Call>& log, Op op) {
  std::vector<Call> matching;
  for (const Call& call : log) {
    if (call.op == op) matching.push_back(call);
  }
  return matching;
}

// Makes the nth call of one kind from now fail (1: the next one; 0: none).
class FailureSwitch {
 public:
  void FailNth(int nth) { failAt_ = nth > 0 ? calls_ + nth : 0; }
  // Counts a call; true for the one that is to fail.
  bool Fails() { return ++calls_ == failAt_; }

 private:
  int calls_ = 0;
  int failAt_ = 0;
};

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
