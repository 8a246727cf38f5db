#pragma once
// The degree-to-radian factor of the charts' angles, in plain C++ so that programs without the
// Windows headers (the native benchmark reference) use the same one.

// pi / 180 as a 32-bit float.
inline constexpr float kDegreesToRadians = 0.01745329f;
