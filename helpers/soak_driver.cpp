#include "helpers/soak_driver.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "app/app_state.h"
#include "chart/slice_layout.h"
#include "helpers/win32.h"

namespace soak {
namespace {

using win32::SetClientSize;

// The one monitor alive; its window procedure and hook are plain functions.
Monitor* current = nullptr;

// WM_SIZE areas above this many pixels are not sent: every paint then draws a frame of that
// size, and the bad-input run must end in seconds. Either side alone still takes any value.
constexpr double kLargestBadArea = 1.5e6;

std::string Describe(UINT message, WPARAM wParam, LPARAM lParam) {
  char text[96];
  std::snprintf(text, sizeof text, " (after message 0x%04X, wParam 0x%llX, lParam 0x%llX)", message,
                static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
  return text;
}

float PixelsPerDip() {
  const AppState& app = App();
  const float dpi = app.MainWindow ? app.MainWindow->GetDpi() : 96.0f;
  return dpi > 0.0f ? dpi / 96.0f : 1.0f;
}

// A pointer position: mostly over one of the charts (so that slices are hit and left), some
// anywhere in the client area and some beyond it.
LPARAM RandomPoint(std::mt19937& random, HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const AppState& app = App();
  const float scale = PixelsPerDip();
  const unsigned where = random() % 10;
  float x = 0.0f;
  float y = 0.0f;
  IPieChart* chart = where < 4 ? app.UpperChart.Get() : where < 8 ? app.LowerChart.Get() : nullptr;
  std::uniform_real_distribution<float> unit(-1.3f, 1.3f);
  if (chart != nullptr) {
    x = (chart->GetCenterX() + unit(random) * chart->GetRadiusX()) * scale;
    y = (chart->GetCenterY() + unit(random) * chart->GetRadiusY()) * scale;
  } else {
    const int spread = where == 8 ? 0 : 300;
    x = static_cast<float>(random() % static_cast<unsigned>(client.right + spread + 1));
    y = static_cast<float>(random() % static_cast<unsigned>(client.bottom + spread + 1));
  }
  const auto clampWord = [](float v) { return static_cast<WORD>(std::clamp(v, 0.0f, 65535.0f)); };
  return MAKELPARAM(clampWord(x), clampWord(y));
}

// A point well inside one of the charts, where a slice lies.
LPARAM PointOnASlice(std::mt19937& random) {
  const AppState& app = App();
  IPieChart* chart = random() % 2 == 0 ? app.UpperChart.Get() : app.LowerChart.Get();
  if (chart == nullptr) return 0;
  const float radians = static_cast<float>(random() % 360) * kDegreesToRadians;
  const float scale = PixelsPerDip();
  const float x = (chart->GetCenterX() + 0.6f * chart->GetRadiusX() * std::sin(radians)) * scale;
  const float y = (chart->GetCenterY() + 0.6f * chart->GetRadiusY() * std::cos(radians)) * scale;
  return MAKELPARAM(static_cast<WORD>(std::clamp(x, 0.0f, 65535.0f)),
                    static_cast<WORD>(std::clamp(y, 0.0f, 65535.0f)));
}

void Resize(std::mt19937& random, HWND window, int kind) {
  const float scale = PixelsPerDip();
  switch (kind) {
    case 0:
      ShowWindow(window, SW_MINIMIZE);
      break;
    case 1:
      ShowWindow(window, SW_RESTORE);
      break;
    case 2: {
      // Larger than any screen here: the window may be held to the screen's size, but the
      // program is told of the size all the same, as a window on a large desktop would be.
      SetClientSize(window, 3000, 2000);
      RECT client{};
      GetClientRect(window, &client);
      if (client.right != 3000 || client.bottom != 2000) {
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(3000, 2000));
      }
      break;
    }
    case 3:
      SetClientSize(window, static_cast<int>(512 * scale), static_cast<int>(540 * scale));
      break;
    default:
      SetClientSize(window, 50 + static_cast<int>(random() % 1150),
                    50 + static_cast<int>(random() % 950));
      break;
  }
}

}  // namespace

ProcessCounters ReadProcessCounters(HANDLE process) {
  ProcessCounters counters;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory))) {
    counters.privateBytes = static_cast<double>(memory.PrivateUsage);
    // Wine 8 leaves PrivateUsage at 0 but keeps the commit charge, which is the same figure.
    if (memory.PrivateUsage == 0) {
      counters.privateBytes = static_cast<double>(memory.PagefileUsage);
      counters.privateFromCommitCharge = true;
    }
  }
  counters.gdiObjects = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  counters.userObjects = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  return counters;
}

double FreeHeapBytesOfThisProcess() {
  // The list is made before any heap is locked, so that walking allocates nothing.
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (count == 0 || count > heaps.size()) return -1.0;
  // Entries with none of these flags are free blocks.
  constexpr WORD kNotFree =
      PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE | PROCESS_HEAP_ENTRY_BUSY;
  double freeBytes = 0.0;
  for (DWORD i = 0; i < count; ++i) {
    if (!HeapLock(heaps[i])) return -1.0;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & kNotFree) == 0) freeBytes += entry.cbData + entry.cbOverhead;
    }
    const bool walkedToTheEnd = GetLastError() == ERROR_NO_MORE_ITEMS;
    HeapUnlock(heaps[i]);
    if (!walkedToTheEnd) return -1.0;
  }
  return freeBytes;
}

SoakPlan ShortSoakPlan(std::uint32_t seed) {
  SoakPlan plan;
  plan.seed = seed;
  plan.regens = 1000;
  plan.moves = 2000;
  plan.resizes = 40;
  plan.grayToggles = 20;
  return plan;
}

bool AnimationInProgress() {
  const AppState& app = App();
  for (IPieChart* chart : {app.UpperChart.Get(), app.LowerChart.Get()}) {
    if (chart != nullptr && chart->GetSelectedSlice() >= 0 &&
        chart->GetExplodeOffset() < MaxExplodeOffset) {
      return true;
    }
  }
  return false;
}

Monitor::Monitor(HWND window) : window_(window) {
  current = this;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchProc)));
  cbt_ = SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
}

Monitor::~Monitor() {
  if (cbt_ != nullptr) UnhookWindowsHookEx(cbt_);
  if (IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  }
  current = nullptr;
}

void Monitor::Violation(const std::string& text) {
  if (outcome_.violation.empty()) outcome_.violation = text;
}

LRESULT CALLBACK Monitor::WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Monitor* self = current;
  const LRESULT result = CallWindowProcW(self->original_, window, message, wParam, lParam);
  ++self->outcome_.messages;
  if (message == WM_PAINT) ++self->outcome_.frames;
  self->Check(message, wParam, lParam);
  return result;
}

LRESULT CALLBACK Monitor::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && current != nullptr) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    // A message box is a dialog of class 32770 without a parent of ours.
    if (create->lpcs->lpszClass == MAKEINTATOM(32770) ||
        (!IS_INTRESOURCE(create->lpcs->lpszClass) &&
         lstrcmpW(create->lpcs->lpszClass, L"#32770") == 0)) {
      current->Violation("a message box was about to be shown");
      return 1;  // refused: MessageBox returns at once
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Monitor::Check(UINT message, WPARAM wParam, LPARAM lParam) {
  const AppState& app = App();
  int out = 0;
  for (IPieChart* chart : {app.UpperChart.Get(), app.LowerChart.Get()}) {
    if (chart != nullptr && chart->GetSelectedSlice() >= 0) ++out;
  }
  if (out > 1) Violation("both charts have a selected slice" + Describe(message, wParam, lParam));
  // Killing a timer that should not exist changes nothing; a timer that does exist here is the
  // fault being looked for. (A running animation's timer is not probed: restarting it would
  // hold its ticks back. Settle checks that such an animation finishes.)
  if (!AnimationInProgress() && KillTimer(window_, ExplodeTimerId)) {
    Violation("the explode timer ran with no animation in progress" +
              Describe(message, wParam, lParam));
  }
}

void Monitor::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      Violation("the message loop was asked to quit");
      continue;
    }
    if (message.message == WM_TIMER && message.hwnd == window_) {
      ++outcome_.ticks;
      if (!AnimationInProgress()) Violation("a timer tick arrived with no animation in progress");
    }
    // As the program's own loop does.
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool Monitor::Settle(DWORD timeoutMs) {
  ++outcome_.settles;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    Pump();
    if (!AnimationInProgress()) return true;
    if (GetTickCount64() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

Outcome RunSoak(HWND window, const SoakPlan& plan) {
  Monitor monitor(window);
  std::mt19937 random(plan.seed);
  std::vector<char> operations;
  operations.insert(operations.end(), static_cast<size_t>(plan.regens), 'R');
  operations.insert(operations.end(), static_cast<size_t>(plan.moves), 'M');
  operations.insert(operations.end(), static_cast<size_t>(plan.resizes), 'Z');
  operations.insert(operations.end(), static_cast<size_t>(plan.grayToggles), 'G');
  std::shuffle(operations.begin(), operations.end(), random);

  const HWND regen = GetDlgItem(window, IdRegen);
  const HWND gray = GetDlgItem(window, IdGray);
  int resizes = 0;
  for (size_t i = 0; i < operations.size() && monitor.Result().violation.empty(); ++i) {
    switch (operations[i]) {
      case 'R':
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IdRegen, BN_CLICKED),
                     reinterpret_cast<LPARAM>(regen));
        break;
      case 'G': {
        const bool checked = SendMessageW(gray, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(gray, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IdGray, BN_CLICKED),
                     reinterpret_cast<LPARAM>(gray));
        break;
      }
      case 'M':
        PostMessageW(window, WM_MOUSEMOVE, 0, RandomPoint(random, window));
        break;
      default:
        // Minimise, restore, 3000 x 2000, the start size and random sizes, in turn.
        Resize(random, window, resizes++ % 6);
        break;
    }
    monitor.Pump();
    if (plan.settleEvery > 0 && i % static_cast<size_t>(plan.settleEvery) == 0 &&
        !monitor.Settle(2000)) {
      monitor.Violation("an animation in progress did not finish within 2 s");
    }
    if (!monitor.Result().violation.empty()) {
      Outcome outcome = monitor.Result();
      outcome.violation +=
          " at operation " + std::to_string(i) + " of seed " + std::to_string(plan.seed);
      return outcome;
    }
  }
  // Back to the start size, and every animation done.
  ShowWindow(window, SW_RESTORE);
  const float scale = PixelsPerDip();
  SetClientSize(window, static_cast<int>(512 * scale), static_cast<int>(540 * scale));
  if (!monitor.Settle(2000)) monitor.Violation("the last animation did not finish within 2 s");
  return monitor.Result();
}

Outcome RunBadInput(HWND window, const BadInputPlan& plan) {
  Monitor monitor(window);
  std::mt19937 random(plan.seed);
  // A side of a WM_SIZE: zero, the largest, or anything, in equal parts.
  const auto side = [&random]() -> WORD {
    switch (random() % 4) {
      case 0:
        return 0;
      case 1:
        return 0xFFFF;
      case 2:
        return static_cast<WORD>(random() % 2048);
      default:
        return static_cast<WORD>(random());
    }
  };
  for (int i = 0; i < plan.messages && monitor.Result().violation.empty(); ++i) {
    UINT message = WM_PAINT;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    switch (random() % 5) {
      case 0: {
        message = WM_MOUSEMOVE;
        WORD x = static_cast<WORD>(random());
        WORD y = static_cast<WORD>(random());
        if (random() % 4 == 0) x = 0xFFFF;
        if (random() % 4 == 0) y = 0xFFFF;
        wParam = random() & 0xFF;
        lParam = static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(x, y)) |
                                     (static_cast<ULONGLONG>(random()) << 32));
        break;
      }
      case 1: {
        message = WM_SIZE;
        WORD width = side();
        WORD height = side();
        while (static_cast<double>(width) * height > kLargestBadArea) {
          (random() % 2 == 0 ? width : height) = static_cast<WORD>(random() % 64);
        }
        wParam = random() % 5;
        lParam = MAKELPARAM(width, height);
        break;
      }
      case 2:
        message = WM_COMMAND;
        // Any id and notification code; the two controls' ids come up often enough to matter.
        wParam = random() % 3 == 0 ? MAKEWPARAM(IdRegen + random() % 2, random()) : random();
        break;
      case 3:
        message = WM_TIMER;
        wParam = random() % 2 == 0 ? ExplodeTimerId : random();
        break;
      default:
        break;
    }
    SendMessageW(window, message, wParam, lParam);
    monitor.Pump();
    // Now and then the pointer onto a slice and a pause without input, in which the animation
    // must finish and its timer stop.
    if (i % 500 == 499) {
      SendMessageW(window, WM_MOUSEMOVE, 0, PointOnASlice(random));
      if (!monitor.Settle(2000)) {
        monitor.Violation("an animation in progress did not finish within 2 s");
      }
    }
    if (!monitor.Result().violation.empty()) {
      Outcome outcome = monitor.Result();
      outcome.violation +=
          " at message " + std::to_string(i) + " of seed " + std::to_string(plan.seed);
      return outcome;
    }
  }
  if (!monitor.Settle(2000)) monitor.Violation("the last animation did not finish within 2 s");
  return monitor.Result();
}

}  // namespace soak
