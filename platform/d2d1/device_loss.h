#pragma once
// Counts the frames that render targets end in this process and says which of them should
// report a lost device, as chosen by the D2PIE_D2D1_DEVICE_LOSS environment variable (see
// FrameSchedule for its forms). The variable is read at every frame, so a process may change it.

namespace standin {

// Counts one more ended frame; true when that frame is to report D2DERR_RECREATE_TARGET.
bool NextFrameLosesDevice();

}  // namespace standin
