#pragma once
// Which frames (counted from 1 across the process) should report a lost device: "every:N" for
// every Nth frame, or a comma list of frame numbers such as "3,7,20". Anything else, including
// an empty text, chooses no frame.

#include <cstdint>
#include <string_view>
#include <vector>

namespace standin {

class FrameSchedule {
 public:
  static FrameSchedule Parse(std::string_view text);

  bool Contains(std::uint64_t frame) const;

 private:
  std::uint64_t period_ = 0;
  std::vector<std::uint64_t> frames_;  // sorted
};

}  // namespace standin
