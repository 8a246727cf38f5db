#pragma once
// Where each slice of a pie lies: the plain geometry behind the chart's path figures, in
// single precision throughout.

#include <d2d1.h>

#include <utility>
#include <vector>

#include "chart/degrees.h"

struct PieEllipse {
  FLOAT cx;
  FLOAT cy;
  FLOAT rx;
  FLOAT ry;
};

// One slice as a figure: from the apex out to rimStart, then counter-clockwise along the rim to
// rimEnd and back to the apex. A slice that sweeps the whole pie has no apex edges: it is the
// full ellipse, drawn as two half arcs from rimStart through rimOpposite and back.
struct SliceFigure {
  D2D1_POINT_2F apex;
  D2D1_POINT_2F rimStart;
  D2D1_POINT_2F rimEnd;
  D2D1_ARC_SIZE arcSize;
  bool wholeEllipse;
  D2D1_POINT_2F rimOpposite;
};

// The ellipse inscribed in a chart's rectangle, 30 units inside it on every side.
PieEllipse EllipseInRectangle(FLOAT left, FLOAT top, FLOAT width, FLOAT height);

// The sum of the values, added in index order, when they can make a pie: at least one value,
// every value finite and not negative, and a finite total above zero. Otherwise 0: a pie of
// nothing would divide by zero and put NaN points into its paths.
FLOAT PieTotal(const std::vector<FLOAT>& values);

// Each slice's angles in degrees, from 0 going counter-clockwise, in proportion to its value; none
// when the values cannot make a pie (PieTotal is 0).
std::vector<std::pair<FLOAT, FLOAT>> SliceAngles(const std::vector<FLOAT>& values);

// The point of the rim at angle degrees, moved distance further out along that direction, scaled
// down along the shorter axis of the ellipse as a selected slice is.
D2D1_POINT_2F PointBeyondRim(const PieEllipse& pie, FLOAT degrees, FLOAT distance);

// The figure of the slice from angle start to angle end (degrees; 0 points down and angles grow
// counter-clockwise on screen). A selected slice is moved out along its bisector by
// explodeOffset, scaled down along the shorter axis of the ellipse.
SliceFigure LayOutSlice(const PieEllipse& pie, FLOAT start, FLOAT end, bool selected,
                        FLOAT explodeOffset);
