#pragma once
// The local time of day in seconds since midnight, with millisecond resolution. It restarts at
// midnight, so ages measured with it are only meaningful over short spans.

// A replaceable clock: the chart stamps selections with it, the animation measures ages with it.
using TimeOfDayClock = float (*)();

// Reads GetLocalTime: hours * 3600 + minutes * 60 + seconds + milliseconds / 1000.
float LocalTimeOfDay();
