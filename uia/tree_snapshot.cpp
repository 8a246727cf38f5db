#include "uia/tree_snapshot.h"

#include <strsafe.h>

ShortText SliceName(size_t slice, size_t count, FLOAT value, double percent) {
  ShortText text{};
  StringCchPrintfW(text.data(), text.size(), L"Slice %u of %u: %g (%.1f%%)",
                   static_cast<unsigned>(slice + 1), static_cast<unsigned>(count),
                   static_cast<double>(value), percent);
  return text;
}

ShortText SliceName(const ChartView& chart, size_t slice) {
  const SliceView& view = chart.slices[slice];
  return SliceName(slice, chart.slices.size(), view.value, view.percent);
}

const ChartView* ChartOf(const TreeSnapshot& snapshot, int chart) {
  if (chart < 0 || chart >= static_cast<int>(snapshot.charts.size())) return nullptr;
  return &snapshot.charts[static_cast<size_t>(chart)];
}

const SliceView* SliceOf(const TreeSnapshot& snapshot, int chart, UINT32 generation, int slice) {
  const ChartView* view = ChartOf(snapshot, chart);
  if (view == nullptr || view->generation != generation || slice < 0 ||
      slice >= static_cast<int>(view->slices.size())) {
    return nullptr;
  }
  return &view->slices[static_cast<size_t>(slice)];
}
