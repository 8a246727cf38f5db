#include "uia/accessible_tree.h"

#include <utility>

namespace {

// lParam: the slice in the low word (0xFFFF for none); the chart and the kind in the high word.
constexpr WORD kChartBit = 1;
constexpr int kKindShift = 1;
constexpr WORD kNoSlice = 0xFFFF;
constexpr UINT kPointDeadlineMs = 1000;

WORD SliceWord(int slice) { return slice < 0 ? kNoSlice : static_cast<WORD>(slice); }
int SliceOfWord(WORD word) { return word == kNoSlice ? -1 : word; }

}  // namespace

void PackRequest(const AutomationRequest& request, WPARAM& wParam, LPARAM& lParam) {
  wParam = request.generation;
  const auto flags = static_cast<WORD>((request.chart != 0 ? kChartBit : 0) |
                                       (static_cast<int>(request.kind) << kKindShift));
  lParam = static_cast<LPARAM>(MAKELONG(SliceWord(request.slice), flags));
}

AutomationRequest UnpackRequest(WPARAM wParam, LPARAM lParam) {
  AutomationRequest request;
  request.generation = static_cast<UINT32>(wParam);
  request.slice = SliceOfWord(LOWORD(lParam));
  request.chart = (HIWORD(lParam) & kChartBit) != 0 ? 1 : 0;
  request.kind = static_cast<AutomationRequest::Kind>((HIWORD(lParam) >> kKindShift) & 3);
  return request;
}

// The generation in the high 32 bits, the slice in the low word and the chart plus one in the
// word above it: 0 is nothing.
LRESULT PackPointAnswer(const PointAnswer& answer) {
  if (answer.chart < 0) return 0;
  const auto low = static_cast<UINT64>(MAKELONG(SliceWord(answer.slice), answer.chart + 1));
  return static_cast<LRESULT>((static_cast<UINT64>(answer.generation) << 32) | low);
}

PointAnswer UnpackPointAnswer(LRESULT result) {
  const auto bits = static_cast<UINT64>(result);
  const auto low = static_cast<DWORD>(bits & 0xFFFFFFFFu);
  PointAnswer answer;
  if (HIWORD(low) == 0) return answer;
  answer.chart = HIWORD(low) - 1;
  answer.slice = SliceOfWord(LOWORD(low));
  answer.generation = static_cast<UINT32>(bits >> 32);
  return answer;
}

AccessibleTree::AccessibleTree(HWND window, TreeMessages messages)
    : window_(window), messages_(messages) {}

std::shared_ptr<const TreeSnapshot> AccessibleTree::Current() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return snapshot_;
}

void AccessibleTree::Publish(std::shared_ptr<const TreeSnapshot> snapshot) {
  std::shared_ptr<const TreeSnapshot> previous;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!connected_) return;
    previous = std::exchange(snapshot_, std::move(snapshot));
  }
  // The old snapshot, when this was its last holder, is freed outside the lock.
}

orb::ComPtr<IRawElementProviderFragmentRoot> AccessibleTree::Root() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return root_;
}

void AccessibleTree::SetRoot(IRawElementProviderFragmentRoot* root) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (connected_) root_ = root;
}

void AccessibleTree::Disconnect() {
  std::shared_ptr<const TreeSnapshot> snapshot;
  orb::ComPtr<IRawElementProviderFragmentRoot> root;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    connected_ = false;
    snapshot = std::move(snapshot_);
    // Swapped, not move-assigned: mingw-w64's ComPtr keeps its source on move assignment.
    root.Swap(root_);
  }
  // Both are let go outside the lock.
}

bool AccessibleTree::Request(const AutomationRequest& request) const {
  if (!Current()) return false;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  PackRequest(request, wParam, lParam);
  return PostMessageW(window_, messages_.request, wParam, lParam) != FALSE;
}

PointAnswer AccessibleTree::WhatIsAt(LONG x, LONG y) const {
  if (!Current()) return {};
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window_, messages_.point, static_cast<WPARAM>(x), static_cast<LPARAM>(y),
                          SMTO_ABORTIFHUNG, kPointDeadlineMs, &result) == 0) {
    return {};
  }
  return UnpackPointAnswer(static_cast<LRESULT>(result));
}
