#pragma once
// What the charts showed at one moment, as assistive technology reads it: the charts' names, the
// slices' values and shares, where each pie and slice is drawn, and which of them holds the
// keyboard focus. The window's thread makes it from what the charts answer; it is never changed
// once made and is read by any thread. The element under a point is not in it: only the charts'
// own hit test knows that, and the window's thread asks them.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

// A rectangle in device-independent units of the client area.
struct DipRect {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};

struct SliceView {
  FLOAT value = 0.0f;
  // The value's share of its pie, in percent.
  double percent = 0.0;
  // Where the slice is drawn, pulled out or not.
  DipRect bounds;
};

struct ChartView {
  const wchar_t* automationId = L"";
  std::wstring name;
  // Counts the value lists the chart was given: slices of an earlier list are gone.
  UINT32 generation = 0;
  // The pie's ellipse, grown to hold a pulled-out slice.
  DipRect bounds;
  // The selected slice, or -1 when the chart's selection is none of its slices.
  int selected = -1;
  std::vector<SliceView> slices;
};

// The element that holds the keyboard focus: a chart (slice -1) or one of its slices; chart -1
// while the focus is elsewhere (a control, another window).
struct FocusView {
  int chart = -1;
  int slice = -1;
  bool operator==(const FocusView&) const = default;
};

struct TreeSnapshot {
  // Device pixels per device-independent unit: the window's DPI / 96.
  double pixelsPerDip = 1.0;
  // The client area in screen pixels, taken by the window's thread: a client's thread asking
  // the system for it could wait on the window's.
  RECT client{};
  std::vector<ChartView> charts;
  FocusView focus;
};

// A text made on the stack, so that answering a client allocates nothing but the answer.
using ShortText = std::array<wchar_t, 64>;

// "Slice 3 of 7: 120 (14.2%)": a slice's place among count, its value and its share in percent.
ShortText SliceName(size_t slice, size_t count, FLOAT value, double percent);
ShortText SliceName(const ChartView& chart, size_t slice);

// The chart (0 upper, 1 lower) in snapshot, and a slice of it if the chart still has the slices
// of generation; null when there is none.
const ChartView* ChartOf(const TreeSnapshot& snapshot, int chart);
const SliceView* SliceOf(const TreeSnapshot& snapshot, int chart, UINT32 generation, int slice);
