#pragma once
// The local time of day in seconds since midnight. It restarts at midnight, so ages measured with
// it are only meaningful over short spans. GetLocalTime counts milliseconds, but a float's step
// grows with the value: a reading is within 0.5 ms of the clock before 04:33:04 (2^14 s), within
// 1 ms before 09:06:08 (2^15 s), within 2 ms before 18:12:16 (2^16 s), and within 4 ms from then
// to midnight, where readings step by 7.8 ms.

// A replaceable clock: the chart stamps selections with it, the animation measures ages with it.
using TimeOfDayClock = float (*)();

// Reads GetLocalTime: hours * 3600 + minutes * 60 + seconds + milliseconds / 1000.
float LocalTimeOfDay();
