#include "platform/d2d1/device_loss.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/d2d1/frame_schedule.h"

namespace standin {
namespace {

struct DeviceLossState {
  std::mutex lock;
  std::uint64_t frames = 0;
  std::string text;  // the variable's value that schedule was parsed from
  FrameSchedule schedule;
};

DeviceLossState& State() {
  static DeviceLossState state;
  return state;
}

}  // namespace

bool NextFrameLosesDevice() {
  char buffer[512];
  const DWORD length = GetEnvironmentVariableA("D2PIE_D2D1_DEVICE_LOSS", buffer, sizeof buffer);
  const std::string text = length < sizeof buffer ? std::string(buffer, length) : std::string();
  DeviceLossState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  ++state.frames;
  if (text != state.text) {
    state.text = text;
    state.schedule = FrameSchedule::Parse(text);
  }
  return state.schedule.Contains(state.frames);
}

}  // namespace standin
