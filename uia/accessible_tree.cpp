#include "uia/accessible_tree.h"

#include <utility>

namespace {

// lParam: the slice in the low word; the chart and whether to select in the high word.
constexpr WORD kChartBit = 1;
constexpr WORD kSelectBit = 2;

}  // namespace

void PackSelectionRequest(const SelectionRequest& request, WPARAM& wParam, LPARAM& lParam) {
  wParam = request.generation;
  const WORD flags =
      static_cast<WORD>((request.chart != 0 ? kChartBit : 0) | (request.select ? kSelectBit : 0));
  lParam = static_cast<LPARAM>(MAKELONG(static_cast<WORD>(request.slice), flags));
}

SelectionRequest UnpackSelectionRequest(WPARAM wParam, LPARAM lParam) {
  SelectionRequest request;
  request.generation = static_cast<UINT32>(wParam);
  request.slice = LOWORD(lParam);
  request.chart = (HIWORD(lParam) & kChartBit) != 0 ? 1 : 0;
  request.select = (HIWORD(lParam) & kSelectBit) != 0;
  return request;
}

AccessibleTree::AccessibleTree(HWND window, UINT selectionMessage)
    : window_(window), selectionMessage_(selectionMessage) {}

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

bool AccessibleTree::Request(const SelectionRequest& request) const {
  if (!Current()) return false;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  PackSelectionRequest(request, wParam, lParam);
  return PostMessageW(window_, selectionMessage_, wParam, lParam) != FALSE;
}
