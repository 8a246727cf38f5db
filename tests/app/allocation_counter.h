#pragma once
// This test program replaces the global operator new and delete to count the blocks and bytes
// that are live, so that a test can tell whether a run of the program's code gave back all the
// memory it took. Direct2D's own allocations are made in its DLL and are not counted here.

#include <cstddef>

namespace apptest {

struct LiveAllocations {
  long long blocks = 0;
  long long bytes = 0;
};

LiveAllocations CountLiveAllocations();

}  // namespace apptest
