#pragma once
// What every element of the charts' tree shares: the latest snapshot, which the window's thread
// renews and clients' threads read, the root element, and the way back to the window's thread
// for what only it may do. Clients call elements on threads of their own, so nothing here
// touches the charts; the lock is held only to hand a snapshot over.

#include <memory>
#include <mutex>

#include "uia/automation_api.h"
#include "uia/tree_snapshot.h"

// A request from an element to the window's thread: select a slice, or put it back.
struct SelectionRequest {
  int chart = 0;
  UINT32 generation = 0;
  int slice = 0;
  bool select = true;
};

// The message that carries a request, packed into its parameters and unpacked again.
void PackSelectionRequest(const SelectionRequest& request, WPARAM& wParam, LPARAM& lParam);
SelectionRequest UnpackSelectionRequest(WPARAM wParam, LPARAM lParam);

class AccessibleTree {
 public:
  // The window the tree describes and the message that carries selection requests to it.
  AccessibleTree(HWND window, UINT selectionMessage);
  AccessibleTree(const AccessibleTree&) = delete;
  AccessibleTree& operator=(const AccessibleTree&) = delete;

  // The latest snapshot; null once the window is gone.
  std::shared_ptr<const TreeSnapshot> Current() const;
  // Replaces the snapshot, unless the tree was disconnected.
  void Publish(std::shared_ptr<const TreeSnapshot> snapshot);

  // The root element (the window's client area); empty once disconnected.
  orb::ComPtr<IRawElementProviderFragmentRoot> Root() const;
  void SetRoot(IRawElementProviderFragmentRoot* root);

  // From now on every element answers that it is gone; the root is let go.
  void Disconnect();

  HWND Window() const { return window_; }

  // Posts the request to the window's thread; false when the window is gone.
  bool Request(const SelectionRequest& request) const;

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const TreeSnapshot> snapshot_;
  orb::ComPtr<IRawElementProviderFragmentRoot> root_;
  bool connected_ = true;
  const HWND window_;
  const UINT selectionMessage_;
};
