#pragma once
// The pie chart's own interface. The chart also offers IRenderable.

#include <d2d1.h>

#include "com/com_object.h"
#include "d2d/id2d_helper.h"
#include "palette/ipalette.h"

// One slice as the chart lays it out. Angles are degrees: 0 points down from the centre and they
// grow counter-clockwise on screen. The bounds are where the slice is drawn now, in the render
// target's device-independent units (empty when the slice has no geometry).
struct PieSlice {
  FLOAT value;
  // The value's share of the pie, in percent.
  double percent;
  FLOAT startDegrees;
  FLOAT endDegrees;
  D2D1_RECT_F bounds;
};

struct DECLSPEC_UUID("3B05340F-6F56-4B81-906D-BCFE577FD988") DECLSPEC_NOVTABLE IPieChart
    : public IUnknown {
  virtual void STDMETHODCALLTYPE BuildGeometry() = 0;
  virtual FLOAT STDMETHODCALLTYPE GetSelectionTime() = 0;
  virtual INT32 STDMETHODCALLTYPE GetExplodeOffset() = 0;
  virtual void STDMETHODCALLTYPE SetExplodeOffset(INT32 offset) = 0;
  virtual INT32 STDMETHODCALLTYPE GetSelectedSlice() = 0;
  virtual void STDMETHODCALLTYPE SelectSlice(INT32 index) = 0;
  virtual FLOAT STDMETHODCALLTYPE GetLeft() = 0;
  virtual void STDMETHODCALLTYPE SetLeft(FLOAT left) = 0;
  virtual FLOAT STDMETHODCALLTYPE GetWidth() = 0;
  virtual void STDMETHODCALLTYPE SetWidth(FLOAT width) = 0;
  virtual FLOAT STDMETHODCALLTYPE GetCenterX() = 0;
  virtual FLOAT STDMETHODCALLTYPE GetCenterY() = 0;
  virtual FLOAT STDMETHODCALLTYPE GetRadiusX() = 0;
  virtual FLOAT STDMETHODCALLTYPE GetRadiusY() = 0;
  // Gives *palette a new reference to the chart's palette (empty when it has none).
  virtual void STDMETHODCALLTYPE GetPalette(IPalette** palette) = 0;
  virtual void STDMETHODCALLTYPE SetPalette(IPalette* palette) = 0;
  // Copies count values from first.
  virtual void STDMETHODCALLTYPE SetValues(const FLOAT* first, INT32 count) = 0;
  virtual void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory, IPalette* palette,
                                      INT32 red, INT32 green, INT32 blue, FLOAT outlineWidth,
                                      FLOAT left, FLOAT top, FLOAT width, FLOAT height) = 0;
  // The top and height of the chart's rectangle, whose left and width are above.
  virtual FLOAT STDMETHODCALLTYPE GetTop() = 0;
  virtual FLOAT STDMETHODCALLTYPE GetHeight() = 0;
  // The number of slices: one per value, none while the values cannot make a pie.
  virtual INT32 STDMETHODCALLTYPE GetSliceCount() = 0;
  // Slice index as laid out now; E_INVALIDARG for an index that is no slice.
  virtual HRESULT STDMETHODCALLTYPE GetSlice(INT32 index, PieSlice* slice) = 0;
  // Counts the value lists the chart was given: the slices of an earlier list are gone.
  virtual UINT32 STDMETHODCALLTYPE GetValuesGeneration() = 0;
  // Outlines every slice in this colour (8-bit components) and width from now on; width 0 draws
  // no outlines.
  virtual void STDMETHODCALLTYPE SetOutline(INT32 red, INT32 green, INT32 blue, FLOAT width) = 0;
  // Outlines the selected slice in this colour and width instead, over its neighbours' outlines;
  // width 0 outlines it as every other slice.
  virtual void STDMETHODCALLTYPE SetSelectedOutline(INT32 red, INT32 green, INT32 blue,
                                                    FLOAT width) = 0;
  // The point of the rim at angle degrees, distance units further out along that direction
  // (scaled down along the shorter axis, as a selected slice moves out).
  virtual void STDMETHODCALLTYPE GetPointBeyondRim(FLOAT degrees, FLOAT distance,
                                                   D2D1_POINT_2F* point) = 0;
};
ORB_DECLARE_UUID(IPieChart, 0x3b05340f, 0x6f56, 0x4b81, 0x90, 0x6d, 0xbc, 0xfe, 0x57, 0x7f, 0xd9,
                 0x88)
