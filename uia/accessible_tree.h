#pragma once
// What every element of the charts' tree shares: the latest snapshot, which the window's thread
// renews and clients' threads read, the root element, and the way back to the window's thread
// for what only it may do: change the selection or the focus, and find what lies under a point.
// Clients call elements on threads of their own, so nothing here touches the charts; the lock is
// held only to hand a snapshot over.

#include <memory>
#include <mutex>

#include "uia/automation_api.h"
#include "uia/tree_snapshot.h"

// A request from an element to the window's thread, about a slice of the values of generation
// (slice -1: the chart itself).
struct AutomationRequest {
  enum class Kind { Select, PutBack, Focus };
  Kind kind = Kind::Select;
  int chart = 0;
  UINT32 generation = 0;
  int slice = 0;
  bool operator==(const AutomationRequest&) const = default;
};

// The message that carries a request, packed into its parameters and unpacked again.
void PackRequest(const AutomationRequest& request, WPARAM& wParam, LPARAM& lParam);
AutomationRequest UnpackRequest(WPARAM wParam, LPARAM lParam);

// What the window's thread finds under a point: a slice of a chart's values of generation, a
// chart (slice -1), or nothing (chart -1).
struct PointAnswer {
  int chart = -1;
  int slice = -1;
  UINT32 generation = 0;
  bool operator==(const PointAnswer&) const = default;
};

// The answer to the point message, packed into its result and unpacked again.
LRESULT PackPointAnswer(const PointAnswer& answer);
PointAnswer UnpackPointAnswer(LRESULT result);

// The messages by which the tree reaches the window's thread: requests are posted; a point is
// sent (a screen pixel's x in wParam and y in lParam) and answered at once.
struct TreeMessages {
  UINT request;
  UINT point;
};

class AccessibleTree {
 public:
  AccessibleTree(HWND window, TreeMessages messages);
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
  bool Request(const AutomationRequest& request) const;

  // Asks the window's thread what lies under a screen pixel. Nothing, when the window is gone or
  // does not answer within a second (a client must not hang on a busy window).
  PointAnswer WhatIsAt(LONG x, LONG y) const;

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const TreeSnapshot> snapshot_;
  orb::ComPtr<IRawElementProviderFragmentRoot> root_;
  bool connected_ = true;
  const HWND window_;
  const TreeMessages messages_;
};
