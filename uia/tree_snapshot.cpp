#include "uia/tree_snapshot.h"

#include <strsafe.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

void Include(DipRect& box, double x, double y) {
  box.left = std::min(box.left, x);
  box.right = std::max(box.right, x);
  box.top = std::min(box.top, y);
  box.bottom = std::max(box.bottom, y);
}

// The point at angle degrees on the rim, moved as the slice is.
void IncludeRimPoint(const ChartView& chart, const SliceView& slice, double degrees, DipRect& box) {
  const double radians = degrees * kRadiansPerDegree;
  Include(box, chart.centreX + chart.radiusX * std::sin(radians) + slice.offsetX,
          chart.centreY + chart.radiusY * std::cos(radians) + slice.offsetY);
}

}  // namespace

ShortText SliceName(const ChartView& chart, size_t slice) {
  const FLOAT value = chart.slices[slice].value;
  ShortText text{};
  StringCchPrintfW(text.data(), text.size(), L"Slice %u of %u: %g (%.1f%%)",
                   static_cast<unsigned>(slice + 1), static_cast<unsigned>(chart.slices.size()),
                   static_cast<double>(value), 100.0 * value / chart.total);
  return text;
}

bool SliceContains(const ChartView& chart, const SliceView& slice, double x, double y) {
  if (!(chart.radiusX > 0.0) || !(chart.radiusY > 0.0)) return false;
  // In the unit circle that the ellipse is stretched from, a wedge of the ellipse is the wedge of
  // the same angles.
  const double u = (x - slice.offsetX - chart.centreX) / chart.radiusX;
  const double v = (y - slice.offsetY - chart.centreY) / chart.radiusY;
  if (u * u + v * v > 1.0) return false;
  double degrees = std::atan2(u, v) / kRadiansPerDegree;
  if (degrees < 0.0) degrees += 360.0;
  return degrees >= slice.startDegrees && degrees <= slice.endDegrees;
}

int SliceAt(const ChartView& chart, double x, double y) {
  for (size_t i = 0; i < chart.slices.size(); ++i) {
    if (SliceContains(chart, chart.slices[i], x, y)) return static_cast<int>(i);
  }
  return -1;
}

bool EllipseContains(const ChartView& chart, double x, double y) {
  if (!(chart.radiusX > 0.0) || !(chart.radiusY > 0.0)) return false;
  const double u = (x - chart.centreX) / chart.radiusX;
  const double v = (y - chart.centreY) / chart.radiusY;
  return u * u + v * v <= 1.0;
}

DipRect SliceBounds(const ChartView& chart, const SliceView& slice) {
  const double apexX = chart.centreX + slice.offsetX;
  const double apexY = chart.centreY + slice.offsetY;
  DipRect box{apexX, apexY, apexX, apexY};
  IncludeRimPoint(chart, slice, slice.startDegrees, box);
  IncludeRimPoint(chart, slice, slice.endDegrees, box);
  // The rim reaches furthest out at the angles of the axes that the slice spans.
  for (auto quarter = static_cast<int>(std::ceil(slice.startDegrees / 90.0));
       90.0 * quarter < slice.endDegrees; ++quarter) {
    IncludeRimPoint(chart, slice, 90.0 * quarter, box);
  }
  return box;
}

DipRect ChartBounds(const ChartView& chart) {
  DipRect box{chart.centreX - chart.radiusX, chart.centreY - chart.radiusY,
              chart.centreX + chart.radiusX, chart.centreY + chart.radiusY};
  if (chart.selected >= 0 && chart.selected < static_cast<int>(chart.slices.size())) {
    const DipRect out = SliceBounds(chart, chart.slices[static_cast<size_t>(chart.selected)]);
    Include(box, out.left, out.top);
    Include(box, out.right, out.bottom);
  }
  return box;
}
