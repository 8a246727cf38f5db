#include "com/com_object.h"

namespace orb {
namespace {
LONG liveObjects = 0;
}

LONG LiveObjectCount() { return InterlockedCompareExchange(&liveObjects, 0, 0); }

namespace detail {
void ObjectCreated() { InterlockedIncrement(&liveObjects); }
void ObjectDestroyed() { InterlockedDecrement(&liveObjects); }
}  // namespace detail

}  // namespace orb
