#pragma once
// Frame buffers follow the window's size: the memory is reused while the size changes a little,
// and given back when the frame shrinks to less than half of what the buffer holds.

#include <cstddef>
#include <vector>

namespace standin {

template <typename T>
void ResizeBuffer(std::vector<T>& buffer, std::size_t count, T value) {
  if (count < buffer.capacity() / 2) std::vector<T>().swap(buffer);
  buffer.assign(count, value);
}

}  // namespace standin
