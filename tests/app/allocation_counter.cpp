#include "tests/app/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long long> liveBlocks{0};
std::atomic<long long> liveBytes{0};

// Each block carries its size in front of it, kept at the alignment operator new promises.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
  if (size > static_cast<std::size_t>(-1) - kHeader) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<std::size_t*>(block) = size;
  liveBlocks.fetch_add(1, std::memory_order_relaxed);
  liveBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  return block + kHeader;
}

void Release(void* pointer) noexcept {
  if (pointer == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(pointer) - kHeader;
  liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  liveBytes.fetch_sub(static_cast<long long>(*reinterpret_cast<std::size_t*>(block)),
                      std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

namespace apptest {

LiveAllocations CountLiveAllocations() {
  return {liveBlocks.load(std::memory_order_relaxed), liveBytes.load(std::memory_order_relaxed)};
}

}  // namespace apptest

// The plain forms; the array and nothrow forms of the standard library call these.
void* operator new(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
