#include "platform/d2d1/frame_schedule.h"

#include <algorithm>

namespace standin {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A positive decimal number, or 0 when the text is not one.
std::uint64_t PositiveNumber(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 18) return 0;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

FrameSchedule FrameSchedule::Parse(std::string_view text) {
  FrameSchedule schedule;
  text = Trim(text);
  constexpr std::string_view kEvery = "every:";
  if (text.substr(0, kEvery.size()) == kEvery) {
    schedule.period_ = PositiveNumber(text.substr(kEvery.size()));
    return schedule;
  }
  if (text.empty()) return schedule;
  // Every piece between commas must be a frame number, the one after a trailing comma too.
  for (;;) {
    const size_t comma = text.find(',');
    const std::uint64_t frame = PositiveNumber(text.substr(0, comma));
    if (frame == 0) return FrameSchedule{};
    schedule.frames_.push_back(frame);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  std::sort(schedule.frames_.begin(), schedule.frames_.end());
  return schedule;
}

bool FrameSchedule::Contains(std::uint64_t frame) const {
  if (frame == 0) return false;
  if (period_ != 0) return frame % period_ == 0;
  return std::binary_search(frames_.begin(), frames_.end(), frame);
}

}  // namespace standin
