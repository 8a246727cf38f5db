#pragma once
// Long random runs of real messages against the running application's main window, with its
// invariants checked after every message that the window handles: at most one slice is out
// across both charts, and the explode timer runs only while an animation is in progress.
// Shared by the soak tests and the benchmark program (no GoogleTest here).

#include <windows.h>

#include <cstdint>
#include <string>

namespace soak {

// Private bytes and the GDI and USER object counts of a process. A figure the system does not
// give is negative.
struct ProcessCounters {
  double privateBytes = -1.0;
  // Read from the commit charge (PagefileUsage) because PrivateUsage read 0, as under Wine.
  bool privateFromCommitCharge = false;
  long gdiObjects = -1;
  long userObjects = -1;
};

ProcessCounters ReadProcessCounters(HANDLE process);

// The bytes that this process's heaps keep committed but hold no block in; negative when a heap
// cannot be walked. How much a heap keeps after a peak depends on the order in which blocks came
// and went, so this is taken from private bytes to compare what is in use.
double FreeHeapBytesOfThisProcess();

// How many operations of each kind a soak run performs, mixed in an order drawn from seed.
struct SoakPlan {
  std::uint32_t seed = 1;
  int regens = 10000;
  int moves = 20000;
  int resizes = 200;
  int grayToggles = 100;
  // One operation in this many is followed by a pause without input, long enough for a running
  // animation to finish: the check that an animation in progress is never left without its timer.
  int settleEvery = 100;
};

// The plan scaled down for the test command; the full plan is the default one.
SoakPlan ShortSoakPlan(std::uint32_t seed);

struct BadInputPlan {
  std::uint32_t seed = 1;
  int messages = 100000;
};

struct Outcome {
  long messages = 0;      // handled by the main window, sent or dispatched
  long frames = 0;        // WM_PAINT handled
  long ticks = 0;         // WM_TIMER from the queue
  long settles = 0;       // pauses without input
  std::string violation;  // the first broken invariant; empty when none was broken
};

// Watches the main window while it lives: every message it handles goes through the monitor,
// which checks the invariants afterwards. A message box (the chart's report of a failed geometry
// build) is refused and counted as a violation, so that a run cannot hang on it.
class Monitor {
 public:
  explicit Monitor(HWND window);
  ~Monitor();
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // Runs every queued message of this thread, checking as it goes.
  void Pump();
  // Pumps until no animation is in progress, at most timeoutMs; false if one still is.
  bool Settle(DWORD timeoutMs);

  const Outcome& Result() const { return outcome_; }
  void Violation(const std::string& text);

 private:
  static LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  void Check(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  WNDPROC original_ = nullptr;
  HHOOK cbt_ = nullptr;
  Outcome outcome_;
};

// True when a chart has a selected slice that has not reached its full offset yet.
bool AnimationInProgress();

// Runs the plan against window. Device losses are scheduled by the caller (the Direct2D
// stand-in's D2PIE_D2D1_DEVICE_LOSS).
Outcome RunSoak(HWND window, const SoakPlan& plan);

// Sends random WM_MOUSEMOVE, WM_SIZE, WM_COMMAND, WM_TIMER and WM_PAINT messages with arbitrary
// parameters straight to the window procedure.
Outcome RunBadInput(HWND window, const BadInputPlan& plan);

}  // namespace soak
