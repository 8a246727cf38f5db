#pragma once
// What the charts showed at one moment, as assistive technology reads it: the charts' names, the
// slices' values, and the places of both pies and every slice in the window's device-independent
// units, enough to name every slice and find the element under a point without asking the charts.
// Made by the window's thread, never changed once made, read by any thread. A snapshot takes the
// same few blocks of memory whatever the number of slices: the window's thread makes one at every
// frame of the animation.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

struct SliceView {
  FLOAT value = 0.0f;
  // The slice's angles in degrees: 0 points down from the centre, angles grow counter-clockwise.
  FLOAT startDegrees = 0.0f;
  FLOAT endDegrees = 0.0f;
  // How far the slice is pulled out of its pie.
  FLOAT offsetX = 0.0f;
  FLOAT offsetY = 0.0f;
};

struct ChartView {
  const wchar_t* automationId = L"";
  std::wstring name;
  // Counts the value lists the chart was given: slices of an earlier list are gone.
  UINT32 generation = 0;
  // The sum of the slices' values.
  FLOAT total = 0.0f;
  // The pie's ellipse.
  double centreX = 0.0;
  double centreY = 0.0;
  double radiusX = 0.0;
  double radiusY = 0.0;
  // The selected slice, or -1 when the chart's selection is none of its slices.
  int selected = -1;
  std::vector<SliceView> slices;
};

struct TreeSnapshot {
  // Device pixels per device-independent unit: the window's DPI / 96.
  double pixelsPerDip = 1.0;
  // The client area in screen pixels, taken by the window's thread: a client's thread asking
  // the system for it could wait on the window's.
  RECT client{};
  std::vector<ChartView> charts;
};

// A rectangle in device-independent units of the client area.
struct DipRect {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};

// A text made on the stack, so that answering a client allocates nothing but the answer.
using ShortText = std::array<wchar_t, 64>;

// "Slice 3 of 7: 120 (14.2%)": the slice's place in its chart, its value and its share of the pie.
ShortText SliceName(const ChartView& chart, size_t slice);

// Whether the slice, where it is drawn, covers the point (client units).
bool SliceContains(const ChartView& chart, const SliceView& slice, double x, double y);

// The first slice that covers the point, as the chart's own hit test answers; -1 when none does.
int SliceAt(const ChartView& chart, double x, double y);

// Whether the point lies within the pie's ellipse.
bool EllipseContains(const ChartView& chart, double x, double y);

// The smallest rectangle around the slice where it is drawn.
DipRect SliceBounds(const ChartView& chart, const SliceView& slice);

// The pie's ellipse, grown to hold a pulled-out slice.
DipRect ChartBounds(const ChartView& chart);
