#pragma once
// The focus rectangle around the chart that has the keyboard focus, drawn as Windows draws a
// focus visual: two lines in contrasting colours, so that it shows on the background and over
// any slice. Its lines lie 2 DIP and more outside the chart's rectangle, each as thick as the
// system's focus border (its width for the vertical sides, its height for the horizontal ones)
// at the window's DPI, in whole pixels so that they stay sharp; at the default border the
// rectangle ends within 5 DIP of the chart's.

#include <d2d1.h>

// One line of the rectangle: the band of thickness (width, height) inside bounds.
struct FocusFrame {
  D2D1_RECT_F bounds;
  FLOAT width;
  FLOAT height;
};

struct FocusLines {
  FocusFrame inner;  // next to the chart
  FocusFrame outer;
};

// The lines around a chart's rectangle (device-independent units) at pixelsPerDip, for a focus
// border of borderWidth x borderHeight pixels at 96 DPI.
FocusLines FocusRectangleAround(const D2D1_RECT_F& chart, FLOAT pixelsPerDip, UINT borderWidth,
                                UINT borderHeight);

// Draws the lines: the inner one with inner, the outer one with outer.
void DrawFocusRectangle(ID2D1RenderTarget* target, const FocusLines& lines, ID2D1Brush* inner,
                        ID2D1Brush* outer);
