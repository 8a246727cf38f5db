#include "chart/slice_layout.h"

#include <cmath>
#include <initializer_list>

namespace {

D2D1_POINT_2F RimPoint(const PieEllipse& pie, FLOAT degrees) {
  const FLOAT radians = degrees * kDegreesToRadians;
  return {pie.cx + pie.rx * std::sin(radians), pie.cy + pie.ry * std::cos(radians)};
}

// How far a point moves when moved distance out along the direction at radians: the full distance
// along the longer axis of the ellipse, scaled down along the shorter one.
D2D1_POINT_2F Outward(const PieEllipse& pie, FLOAT radians, FLOAT distance) {
  FLOAT fx = 1.0f;
  FLOAT fy = 1.0f;
  if (pie.ry < pie.rx) {
    fy = pie.ry / pie.rx;
  } else if (pie.ry != 0.0f) {  // a pie of no size still moves, rather than going NaN
    fx = pie.rx / pie.ry;
  }
  return {fx * distance * std::sin(radians), fy * distance * std::cos(radians)};
}

}  // namespace

PieEllipse EllipseInRectangle(FLOAT left, FLOAT top, FLOAT width, FLOAT height) {
  return {left + width / 2.0f, top + height / 2.0f, width / 2.0f - 20.0f - 10.0f,
          height / 2.0f - 20.0f - 10.0f};
}

FLOAT PieTotal(const std::vector<FLOAT>& values) {
  FLOAT total = 0.0f;
  for (const FLOAT value : values) {
    if (!std::isfinite(value) || value < 0.0f) return 0.0f;
    total += value;
  }
  return std::isfinite(total) && total > 0.0f ? total : 0.0f;
}

std::vector<std::pair<FLOAT, FLOAT>> SliceAngles(const std::vector<FLOAT>& values) {
  std::vector<std::pair<FLOAT, FLOAT>> angles;
  const FLOAT total = PieTotal(values);
  if (total <= 0.0f) return angles;
  angles.reserve(values.size());
  FLOAT start = 0.0f;
  for (const FLOAT value : values) {
    const FLOAT end = start + 360.0f * (value / total);
    angles.emplace_back(start, end);
    start = end;
  }
  return angles;
}

D2D1_POINT_2F PointBeyondRim(const PieEllipse& pie, FLOAT degrees, FLOAT distance) {
  const D2D1_POINT_2F rim = RimPoint(pie, degrees);
  const D2D1_POINT_2F move = Outward(pie, degrees * kDegreesToRadians, distance);
  return {rim.x + move.x, rim.y + move.y};
}

SliceFigure LayOutSlice(const PieEllipse& pie, FLOAT start, FLOAT end, bool selected,
                        FLOAT explodeOffset) {
  SliceFigure figure;
  figure.apex = {pie.cx, pie.cy};
  figure.rimStart = RimPoint(pie, start);
  figure.rimEnd = RimPoint(pie, end);
  figure.arcSize = end - start > 180.0f ? D2D1_ARC_SIZE_LARGE : D2D1_ARC_SIZE_SMALL;
  // An arc whose end meets its start draws nothing, so a full turn needs its own figure.
  figure.wholeEllipse = end - start >= 360.0f;
  figure.rimOpposite = RimPoint(pie, start + 180.0f);

  if (selected) {
    const FLOAT mid = (start + (end - start) / 2.0f) * kDegreesToRadians;
    const D2D1_POINT_2F move = Outward(pie, mid, explodeOffset);
    for (D2D1_POINT_2F* point :
         {&figure.apex, &figure.rimStart, &figure.rimEnd, &figure.rimOpposite}) {
      point->x += move.x;
      point->y += move.y;
    }
  }
  return figure;
}
