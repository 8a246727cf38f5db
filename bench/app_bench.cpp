// Figures of the real application in this process: start-up to the first frame, the render pass
// at 512 x 540, 1920 x 1080 and 3840 x 2160 (a frame in which nothing changed, one after "Regen"
// in which everything does, and one of the explode animation, in which one slice moves), slice
// geometry and hit testing, hover and keyboard latency (to the first moved frame and to the
// tooltip), the explode animation, the cost of idling after an animation, a keyboard selection
// and the pointer leaving, UI Automation queries from another thread while the window animates,
// and the process's counters after start-up and after a soak.
// Usage: app_bench [FRAMES] [short|full|none|frames]: the soak form for the memory rows (none
// for no soak), or "frames" for the frame rows alone (scripts/bench repeats those).

#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "app/accessibility.h"
#include "app/app_main.h"
#include "app/app_state.h"
#include "app/high_contrast.h"
#include "app/render_pass.h"
#include "bench/figures.h"
#include "bench/stopwatch.h"
#include "chart/degrees.h"
#include "helpers/soak_driver.h"
#include "helpers/win32.h"
#include "palette/irenderable.h"

namespace {

using bench::NowMs;
using bench::Report;

constexpr double kMiB = 1024.0 * 1024.0;

// Hands RandomInteger queued whole numbers, then falls back to a seeded generator.
class QueuedRandom final : public RandomSource {
 public:
  double NextUnit() override {
    if (units_.empty()) return fallback_.NextUnit();
    const double unit = units_.front();
    units_.pop_front();
    return unit;
  }
  void Queue(int value, int first, int last) {
    units_.push_back((value - first + 0.5) / (last - first + 1));
  }
  // One chart of twenty slices with the benchmark scene's values, turned by shift slices.
  void QueueChart(int palette, int shift = 0) {
    Queue(20, 2, 20);
    for (int i = 0; i < 20; ++i) Queue(10 + ((i + shift) * 37) % 141, 10, 150);
    Queue(palette, 0, 4);
  }

 private:
  std::deque<double> units_;
  SeededRandomSource fallback_{4242};
};

// Watches the main window's procedure (when frames end and timer ticks arrive) and the tooltip's
// (when it last finished painting).
struct Watch {
  WNDPROC originalTooltip = nullptr;
  double lastTooltipPaintEnd = 0.0;
  WNDPROC original = nullptr;
  long ticks = 0;
  long paints = 0;
  double lastPaintEnd = 0.0;
  IPieChart* chart = nullptr;    // the chart whose offset is followed
  INT32 lastPaintedOffset = -1;  // its offset as the last frame showed it
};
Watch watch;

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ++watch.ticks;
  const INT32 offset = watch.chart != nullptr ? watch.chart->GetExplodeOffset() : -1;
  const LRESULT result = CallWindowProcW(watch.original, window, message, wParam, lParam);
  if (message == WM_PAINT) {
    ++watch.paints;
    watch.lastPaintEnd = NowMs();
    watch.lastPaintedOffset = offset;
  }
  return result;
}

LRESULT CALLBACK WatchTooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcW(watch.originalTooltip, window, message, wParam, lParam);
  if (message == WM_PAINT) watch.lastTooltipPaintEnd = NowMs();
  return result;
}

using win32::PumpMessages;

// Runs the message loop for ms milliseconds, or until done() holds.
template <typename Done>
void RunLoopFor(double ms, Done done) {
  const double end = NowMs() + ms;
  for (double now = NowMs(); now < end && !done(); now = NowMs()) {
    // Sleeps until a message comes or the time is up, as an idle message loop does.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1, QS_ALLINPUT);
    PumpMessages();
  }
}

void SetClientSize(HWND window, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE, 0);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}

// The same copy of a frame's pixels to the window that a Direct2D present makes (one
// SetDIBitsToDevice of a top-down 32-bit DIB): the part of a frame that is not drawing.
bench::Figures TimeBlits(HWND window, int width, int height, int runs) {
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height, 0x005279);
  const BITMAPINFO info = win32::TopDownBitmapInfo(width, height);
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    const double before = NowMs();
    const HDC dc = GetDC(window);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info,
                      DIB_RGB_COLORS);
    ReleaseDC(window, dc);
    samples.push_back(NowMs() - before);
  }
  return bench::Summarise(samples);
}

// Frames in which nothing changed.
bench::Figures TimeFrames(HWND window, int frames) {
  RenderCharts(window);  // a first frame after a resize sets up its buffers
  std::vector<double> samples;
  for (int i = 0; i < frames; ++i) {
    const double before = NowMs();
    RenderCharts(window);
    samples.push_back(NowMs() - before);
  }
  return bench::Summarise(samples);
}

// Frames after "Regen" with the benchmark scene's values and other palettes each time, so that
// every slice of both charts changes. The command itself is not timed, only the frame.
bench::Figures TimeRegenFrames(HWND window, QueuedRandom& random, int frames) {
  std::vector<double> samples;
  for (int i = 0; i <= frames; ++i) {
    random.QueueChart(i % 2 == 0 ? 4 : 1, i % 2);
    random.QueueChart(i % 2 == 0 ? 0 : 2, i % 2);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IdRegen, BN_CLICKED), 0);
    const double before = NowMs();
    RenderCharts(window);
    if (i > 0) samples.push_back(NowMs() - before);  // the first one follows a resize
  }
  ValidateRect(window, nullptr);
  return bench::Summarise(samples);
}

// Frames of the explode animation as the 16 ms timer ticks give them: one slice, of one chart
// and then of the other, moves out by the offsets of successive ticks. The geometry is rebuilt
// as a tick rebuilds it; only the frame is timed.
bench::Figures TimeAnimationFrames(HWND window, int frames) {
  const int offsets[] = {3, 6, 10, 13, 16, 19, 20};
  AppState& app = App();
  std::vector<double> samples;
  for (int slice = 0; static_cast<int>(samples.size()) < frames; ++slice) {
    IPieChart* chart = slice % 2 == 0 ? app.UpperChart.Get() : app.LowerChart.Get();
    chart->SelectSlice((slice / 2) % 20);
    chart->BuildGeometry();
    RenderCharts(window);
    for (const int offset : offsets) {
      chart->SetExplodeOffset(offset);
      chart->BuildGeometry();
      const double before = NowMs();
      RenderCharts(window);
      samples.push_back(NowMs() - before);
    }
    chart->SelectSlice(-1);
    chart->BuildGeometry();
    RenderCharts(window);
  }
  return bench::Summarise(samples);
}

// The rows of frames at the window's size now: nothing changed, after "Regen", animation, and a
// blit of the whole frame.
void ReportFrameRows(HWND window, QueuedRandom& random, int frames, const std::string& suffix) {
  RECT client{};
  GetClientRect(window, &client);
  const std::string size = std::to_string(client.right) + " x " + std::to_string(client.bottom);
  Report(("frame" + suffix).c_str(),
         ("RenderCharts frame at " + size + " (40 wedges), nothing changed").c_str(),
         TimeFrames(window, frames), "ms");
  Report(("full" + suffix).c_str(),
         ("RenderCharts frame at " + size + " after \"Regen\" (every slice changes)").c_str(),
         TimeRegenFrames(window, random, frames), "ms");
  Report(("anim" + suffix).c_str(),
         ("RenderCharts frame at " + size + " of the explode animation (one slice moves)").c_str(),
         TimeAnimationFrames(window, frames), "ms");
  Report(("blit" + suffix).c_str(),
         "  a copy of the whole frame to the window (one SetDIBitsToDevice)",
         TimeBlits(window, client.right, client.bottom, frames), "ms");
}

// Resizes the client area to width x height, or tells the program of that size when the screen
// holds the window smaller.
void SetClientSizeOrSay(HWND window, int width, int height) {
  SetClientSize(window, width, height);
  RECT client{};
  GetClientRect(window, &client);
  if (client.right != width || client.bottom != height) {
    const std::string text =
        "the window was held to the screen's size; the program was sent "
        "WM_SIZE " +
        std::to_string(width) + " x " + std::to_string(height) + " so that it draws at that size";
    bench::Note(text.c_str());
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
  }
}

template <typename Work>
bench::Figures TimeCalls(int runs, Work work) {
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    const double before = NowMs();
    work();
    samples.push_back((NowMs() - before) * 1000.0);
  }
  return bench::Summarise(samples);
}

LPARAM PointOn(IPieChart* chart, float degrees, float fraction, float scale) {
  const float radians = degrees * kDegreesToRadians;
  const float x = chart->GetCenterX() + fraction * chart->GetRadiusX() * std::sin(radians);
  const float y = chart->GetCenterY() + fraction * chart->GetRadiusY() * std::cos(radians);
  return MAKELPARAM(static_cast<WORD>(std::lround(x * scale)),
                    static_cast<WORD>(std::lround(y * scale)));
}

// The pointer moved to point (client pixels of window): the real one, which the system follows
// with moves and a leave of its own, and the move posted at once.
void MovePointer(HWND window, LPARAM point) {
  POINT screen{static_cast<SHORT>(LOWORD(point)), static_cast<SHORT>(HIWORD(point))};
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, point);
}

// Memory in use: the process's committed private pages, as the system's own view of its address
// space lists them, less the free space that the heaps keep committed. Wine's commit charge also
// counts memory of its own (on the Unix side of the threads), which this does not.
double MemoryInUse() {
  double committed = 0.0;
  MEMORY_BASIC_INFORMATION region;
  const char* address = nullptr;
  while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      committed += static_cast<double>(region.RegionSize);
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return committed - soak::FreeHeapBytesOfThisProcess();
}

// The times in microseconds of a client's queries: those that the tree answers from its
// snapshot, and those of the element under a point, which the window's thread answers.
struct QueryTimes {
  std::vector<double> snapshot;
  std::vector<double> point;
};

// count queries of the charts' UI Automation tree, as a client's calls arrive on a thread of its
// own, in turn: a slice's name, a chart's children, the element under a screen point.
void QueryTree(IRawElementProviderFragment* root, POINT point, int count, QueryTimes& times) {
  orb::ComPtr<IRawElementProviderFragmentRoot> fragmentRoot;
  root->QueryInterface(IID_PPV_ARGS(&fragmentRoot));
  orb::ComPtr<IRawElementProviderFragment> chart;
  root->Navigate(NavigateDirection_FirstChild, &chart);
  orb::ComPtr<IRawElementProviderFragment> slice;
  if (chart) chart->Navigate(NavigateDirection_LastChild, &slice);
  orb::ComPtr<IRawElementProviderSimple> sliceSimple;
  if (slice) slice.As(&sliceSimple);
  if (!fragmentRoot || !sliceSimple) return;
  for (int i = 0; i < count; ++i) {
    const double before = NowMs();
    if (i % 3 == 0) {
      VARIANT name;
      VariantInit(&name);
      sliceSimple->GetPropertyValue(UIA_NamePropertyId, &name);
      VariantClear(&name);
    } else if (i % 3 == 1) {
      orb::ComPtr<IRawElementProviderFragment> child;
      chart->Navigate(NavigateDirection_FirstChild, &child);
      while (child) {
        orb::ComPtr<IRawElementProviderFragment> next;
        child->Navigate(NavigateDirection_NextSibling, &next);
        child = next;
      }
    } else {
      orb::ComPtr<IRawElementProviderFragment> found;
      fragmentRoot->ElementProviderFromPoint(point.x, point.y, &found);
    }
    (i % 3 == 2 ? times.point : times.snapshot).push_back((NowMs() - before) * 1000.0);
    // A client pauses between calls: the queries span many frames of the animation.
    if (i % 10 == 9) Sleep(1);
  }
}

void ReportCounters(const char* key, const char* when, const soak::ProcessCounters& c) {
  const std::string what =
      c.privateFromCommitCharge ? "private bytes (as commit charge) " : "private bytes ";
  Report((std::string(key) + "_private").c_str(), (what + when).c_str(), c.privateBytes / kMiB, -1,
         "MiB");
  Report((std::string(key) + "_gdi").c_str(), (std::string("GDI objects ") + when).c_str(),
         c.gdiObjects, -1, "objects");
  Report((std::string(key) + "_user").c_str(), (std::string("USER objects ") + when).c_str(),
         c.userObjects, -1, "objects");
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(200, std::atoi(argv[1])) : 300;
  const std::string soakForm = argc > 2 ? argv[2] : "short";

  CoInitialize(nullptr);
  QueuedRandom random;
  random.QueueChart(4);
  random.QueueChart(0);
  if (!StartApp(DefaultPlatform(random))) {
    std::printf("the application did not start\n");
    return 1;
  }
  AppState& app = App();
  const HWND window = app.MainWindow->GetWindowHandle();
  watch.original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchProc)));
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);  // the first frame, drawn before UpdateWindow returns
  const double startup = bench::MsSinceProcessStart();
  Report("startup_inproc", "start-up: process creation to the end of the first frame (in-process)",
         startup, -1, "ms");
  PumpMessages();
  const soak::ProcessCounters afterStart = soak::ReadProcessCounters(GetCurrentProcess());

  const float scale = app.MainWindow->GetDpi() / 96.0f;
  RECT client{};
  ReportFrameRows(window, random, frames, "512");
  {
    // The same frames after "Regen" with a contrast theme on: every slice outlined.
    app.Platform.highContrast = [] { return true; };
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    Report("contrast512", "RenderCharts frame at 512 x 540 after \"Regen\", contrast theme on",
           TimeRegenFrames(window, random, frames), "ms");
    app.Platform.highContrast = ReadHighContrast;
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
  }
  SetClientSizeOrSay(window, 1920, 1080);
  ReportFrameRows(window, random, frames, "1080");
  SetClientSizeOrSay(window, 3840, 2160);
  ReportFrameRows(window, random, frames, "2160");
  GetClientRect(window, &client);
  if (soakForm == "frames") {
    DestroyWindow(window);
    PumpMessages();
    ReleaseAppObjects();
    CoUninitialize();
    return 0;
  }
  SetClientSize(window, static_cast<int>(512 * scale), static_cast<int>(540 * scale));
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  GetClientRect(window, &client);
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  PumpMessages();

  // Geometry and hit testing on the upper chart's twenty slices, one pulled out.
  IPieChart* upper = app.UpperChart.Get();
  upper->SelectSlice(7);
  upper->SetExplodeOffset(20);
  Report("build", "BuildGeometry, 20 slices, per call",
         TimeCalls(2000, [&] { upper->BuildGeometry(); }), "us");
  orb::ComPtr<IRenderable> renderable;
  upper->QueryInterface(IID_PPV_ARGS(&renderable));
  const D2D1_MATRIX_3X2_F identity = app.D2DHelper->MakeIdentityMatrix();
  const float hx = upper->GetCenterX() - 0.6f * upper->GetRadiusX();
  const float hy = upper->GetCenterY();
  volatile INT32 hit = 0;
  Report("hittest", "HitTest of one point, per call (answer in the middle of 20 slices)",
         TimeCalls(2000, [&] { hit = renderable->HitTest(hx, hy, identity); }), "us");
  upper->SelectSlice(-1);
  upper->BuildGeometry();

  // Hover: a posted WM_MOUSEMOVE onto a slice, then the real loop with the real 16 ms timer.
  std::vector<double> latencies, ticks, durations;
  for (int trial = 0; trial < 20; ++trial) {
    MovePointer(window, MAKELPARAM(1, 1));  // outside both charts
    RunLoopFor(30, [] { return false; });
    IPieChart* chart = trial % 2 == 0 ? app.UpperChart.Get() : app.LowerChart.Get();
    watch.chart = chart;
    watch.lastPaintedOffset = -1;
    watch.ticks = 0;
    const double start = NowMs();
    MovePointer(window, PointOn(chart, 18.0f * static_cast<float>(trial) + 9.0f, 0.6f, scale));
    double moved = -1.0;
    RunLoopFor(1000, [&] {
      if (moved < 0.0 && watch.lastPaintedOffset > 0) moved = watch.lastPaintEnd - start;
      return watch.lastPaintedOffset == MaxExplodeOffset;
    });
    if (moved >= 0.0 && watch.lastPaintedOffset == MaxExplodeOffset) {
      latencies.push_back(moved);
      ticks.push_back(watch.ticks);
      durations.push_back(watch.lastPaintEnd - start);
    }
    watch.chart = nullptr;
  }
  Report("hover", "hover: WM_MOUSEMOVE onto a slice to the end of the first frame showing it moved",
         bench::Summarise(latencies), "ms");
  Report("anim_ticks", "animation: timer ticks until offset 20", bench::Summarise(ticks), "ticks");
  Report("anim_time", "animation: WM_MOUSEMOVE to the end of the frame at offset 20",
         bench::Summarise(durations), "ms");
  if (latencies.size() < 20) bench::Note("some hover trials did not finish within 1 s");

  // Idle: the last animation has settled; two seconds without input.
  const auto reportIdle = [&](const char* key, const std::string& after) {
    RunLoopFor(200, [] { return false; });
    watch.ticks = 0;
    const long paintsBefore = watch.paints;
    const double cpuBefore = bench::CpuTimeMs(GetCurrentProcess());
    RunLoopFor(2000, [] { return false; });
    const double cpu = bench::CpuTimeMs(GetCurrentProcess()) - cpuBefore;
    const std::string idle = "idle 2 s after " + after;
    Report((key + std::string("_ticks")).c_str(), (idle + ": WM_TIMER received").c_str(),
           watch.ticks, -1, "messages");
    Report((key + std::string("_paints")).c_str(), (idle + ": frames drawn").c_str(),
           watch.paints - paintsBefore, -1, "frames");
    Report((key + std::string("_cpu")).c_str(), (idle + ": CPU time of the process").c_str(), cpu,
           -1, "ms");
  };
  reportIdle("idle", "an animation");

  // The keyboard: the upper chart has the focus; a posted Right key moves its next slice out.
  // Timed to the end of the first frame that shows the slice moved, and to the end of the
  // tooltip's first paint after the key.
  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  SetFocus(window);
  app.FocusChart = 0;
  std::vector<double> keyFrames, keyTips;
  for (int trial = 0; trial < 20; ++trial) {
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    RunLoopFor(30, [] { return false; });
    if (app.Tooltip.window != nullptr && watch.originalTooltip == nullptr) {
      watch.originalTooltip = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
          app.Tooltip.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchTooltipProc)));
    }
    watch.chart = app.UpperChart.Get();
    watch.lastPaintedOffset = -1;
    watch.lastTooltipPaintEnd = 0.0;
    const double start = NowMs();
    PostMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    double moved = -1.0;
    RunLoopFor(1000, [&] {
      if (moved < 0.0 && watch.lastPaintedOffset > 0) moved = watch.lastPaintEnd - start;
      return watch.lastPaintedOffset == MaxExplodeOffset && watch.lastTooltipPaintEnd > start;
    });
    if (moved >= 0.0) keyFrames.push_back(moved);
    if (watch.lastTooltipPaintEnd > start) keyTips.push_back(watch.lastTooltipPaintEnd - start);
    watch.chart = nullptr;
  }
  Report("key", "keyboard: Right key to the end of the first frame showing the slice moved",
         bench::Summarise(keyFrames), "ms");
  Report("key_tip", "keyboard: Right key to the end of the tooltip's first paint",
         bench::Summarise(keyTips), "ms");
  if (keyFrames.size() < 20 || keyTips.size() < 20) {
    bench::Note("some keyboard trials did not finish within 1 s");
  }
  reportIdle("idle_key", "a keyboard selection");

  // The pointer moves a slice out and leaves the window: the slice goes back (Wine notices the
  // leave within its hover time), then nothing runs.
  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  MovePointer(window, PointOn(app.LowerChart.Get(), 45.0f, 0.6f, scale));
  RunLoopFor(300, [] { return false; });
  SetCursorPos(0, 0);
  RunLoopFor(3000, [&] { return app.LowerChart->GetSelectedSlice() < 0; });
  if (app.LowerChart->GetSelectedSlice() >= 0) bench::Note("the pointer's slice stayed out");
  reportIdle("idle_left", "the pointer left the window");

  // UI Automation: a client's queries on a thread of their own while the window's thread runs the
  // animation (a new slice under the pointer every 120 ms). A first 10,000 queries warm up, with
  // the client's thread made; memory is read around the next 10,000, which are timed, while the
  // client's thread still runs.
  {
    const orb::ComPtr<IRawElementProviderSimple> root = AccessibleRoot();
    orb::ComPtr<IRawElementProviderFragment> rootFragment;
    if (root) root.As(&rootFragment);
    POINT onSlice{static_cast<LONG>(std::lround(app.UpperChart->GetCenterX() * scale)),
                  static_cast<LONG>(std::lround((app.UpperChart->GetCenterY() + 30.0f) * scale))};
    ClientToScreen(window, &onSlice);
    constexpr int kQueries = 10000;
    QueryTimes warmUp;
    QueryTimes samples;
    for (QueryTimes* times : {&warmUp, &samples}) {
      times->snapshot.reserve(kQueries);
      times->point.reserve(kQueries);
    }
    std::atomic<int> stage{0};  // 1 warmed up, 2 go, 3 queried, 4 may end
    const double memoryAtStart = MemoryInUse();
    std::thread client([&] {
      if (rootFragment) QueryTree(rootFragment.Get(), onSlice, kQueries, warmUp);
      stage = 1;
      while (stage.load() < 2) Sleep(1);
      if (rootFragment) QueryTree(rootFragment.Get(), onSlice, kQueries, samples);
      stage = 3;
      while (stage.load() < 4) Sleep(1);
    });
    int move = 0;
    const auto animateUntil = [&](int reached) {
      for (; stage.load() < reached; ++move) {
        IPieChart* chart = move % 2 == 0 ? app.UpperChart.Get() : app.LowerChart.Get();
        MovePointer(window, PointOn(chart, 18.0f * static_cast<float>(move) + 9.0f, 0.6f, scale));
        RunLoopFor(120, [&] { return stage.load() >= reached; });
      }
    };
    animateUntil(1);
    const double memoryBefore = MemoryInUse();
    const long paintsBefore = watch.paints;
    stage = 2;
    animateUntil(3);
    const double growth = MemoryInUse() - memoryBefore;
    const long paints = watch.paints - paintsBefore;
    stage = 4;
    client.join();
    Report("uia_query",
           "UI Automation query from another thread while the window animates (a slice's name, "
           "a chart's children), answered from the tree's snapshot",
           bench::Summarise(samples.snapshot), "us");
    Report("uia_point",
           "  the element under a point, which the window's thread answers from the charts' hit "
           "test",
           bench::Summarise(samples.point), "us");
    Report("uia_memory",
           "memory in use (committed private pages less the heaps' free space) after 10,000 such "
           "queries, less before them",
           growth / 1024.0, -1, "KiB");
    const std::string notes =
        "during the timed UI Automation queries the window drew " + std::to_string(paints) +
        " frames; the 10,000 queries before them, with the client's thread made, raised the "
        "memory in use by " +
        std::to_string(std::lround((memoryBefore - memoryAtStart) / 1024.0)) + " KiB";
    bench::Note(notes.c_str());
    if (samples.snapshot.empty()) bench::Note("the UI Automation tree was not found");
  }

  ReportCounters("mem_start", "after start-up", afterStart);
  if (soakForm != "none") {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch.original));
    ReportCounters("mem_before_soak", "after the benchmarks above (3840 x 2160 included)",
                   soak::ReadProcessCounters(GetCurrentProcess()));
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", L"every:37");
    const soak::SoakPlan plan =
        soakForm == "full" ? soak::SoakPlan{} : soak::ShortSoakPlan(soak::SoakPlan{}.seed);
    const double soakStart = NowMs();
    const soak::Outcome outcome = soak::RunSoak(window, plan);
    const double soakMs = NowMs() - soakStart;
    SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
    PumpMessages();
    const std::string when = "after the " + soakForm + " soak";
    ReportCounters("mem_soak", when.c_str(), soak::ReadProcessCounters(GetCurrentProcess()));
    // The stand-in's render target keeps buffers for the largest size it ever had; a target
    // made afresh at the start size shows what the program itself holds.
    DiscardAllDeviceResources();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    ReportCounters("mem_fresh", (when + ", render target made afresh").c_str(),
                   soak::ReadProcessCounters(GetCurrentProcess()));
    const std::string label = "soak (" + soakForm + "): " + std::to_string(outcome.messages) +
                              " messages, " + std::to_string(outcome.frames) + " frames";
    Report("soak_time", label.c_str(), soakMs / 1000.0, -1, "s");
    if (!outcome.violation.empty()) bench::Note(("soak: " + outcome.violation).c_str());
  }

  DestroyWindow(window);
  PumpMessages();
  ReleaseAppObjects();
  CoUninitialize();
  return 0;
}
