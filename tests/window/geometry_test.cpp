// Measuring, sizing and centring the window, and the message loop.

#include <tuple>
#include <utility>
#include <vector>

#include "tests/window/window_test_support.h"

namespace {

using namespace window_test;

class Geometry : public WindowTest {};
class MessageLoop : public WindowTest {};

RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// Left and top of a window.
POINT PlaceOf(HWND window) {
  const RECT bounds = WindowBounds(window);
  return POINT{bounds.left, bounds.top};
}

HWND CreatePlainPopup(INT32 x, INT32 y, INT32 width, INT32 height, DWORD style = WS_POPUP,
                      HWND parent = nullptr) {
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", style, x, y, width, height, parent,
                         nullptr, nullptr, nullptr);
}

TEST_F(Geometry, ResizeClientAreaGivesTheLogicalClientSizeAndKeepsThePlace) {
  const std::tuple<float, LONG, LONG> rows[] = {
      {96.0f, 512, 540}, {120.0f, 640, 675}, {144.0f, 768, 810}};
  for (const auto& [dpi, width, height] : rows) {
    ASSERT_MADE(object, Framed(30, 40, 200, 100, 0, 0, dpi));
    object->ResizeClientArea(512, 540);
    EXPECT_EQ(Sized(0, 0, width, height), ClientBounds(object.get())) << dpi;
    EXPECT_EQ((POINT{30, 40}), PlaceOf(object.get()));
    EXPECT_EQ(512, object->QueryClientWidth(false));
    EXPECT_EQ(540, object->QueryClientHeight(false));
  }
}

TEST_F(Geometry, ResizeClientAreaMakesRoomForScrollBars) {
  ASSERT_MADE(plain, Framed(0, 0, 200, 100, WS_OVERLAPPEDWINDOW, 0, 96.0f));
  plain->ResizeClientArea(512, 540);
  const RECT plainBounds = WindowBounds(plain.get());

  ASSERT_MADE(scrolled,
              Framed(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, 0, 96.0f));
  scrolled->ResizeClientArea(512, 540);
  const RECT scrolledBounds = WindowBounds(scrolled.get());

  EXPECT_EQ(plainBounds.right - plainBounds.left + GetSystemMetrics(SM_CXVSCROLL),
            scrolledBounds.right - scrolledBounds.left);
  EXPECT_EQ(plainBounds.bottom - plainBounds.top + GetSystemMetrics(SM_CYHSCROLL),
            scrolledBounds.bottom - scrolledBounds.top);
  EXPECT_EQ(Sized(0, 0, 512, 540), ClientBounds(scrolled.get()));
}

TEST_F(Geometry, ResizeClientAreaMakesRoomForTheMenuEvenWhenItWraps) {
  for (int items : {2, 40}) {
    ASSERT_MADE(window, Framed(0, 0, 200, 100, 0, 0, 96.0f));
    HMENU menu = CreateMenu();
    for (int i = 0; i < items; ++i) {
      AppendMenuW(menu, MF_STRING, 1000 + i, L"A rather long menu item");
    }
    ASSERT_TRUE(SetMenu(window.get(), menu));
    window->ResizeClientArea(512, 540);
    EXPECT_EQ(Sized(0, 0, 512, 540), ClientBounds(window.get())) << items;
  }
}

TEST_F(Geometry, MeasuresInLogicalUnitsWithHalvesToEven) {
  ASSERT_MADE(object, Popup(0, 0, 641, 501));
  object->SetDpi(120.0f);
  EXPECT_EQ(513, object->QueryClientWidth(false));  // 512.8
  EXPECT_EQ(641, object->QueryClientWidth(true));
  EXPECT_EQ(401, object->QueryClientHeight(false));  // 400.8
  EXPECT_EQ(501, object->QueryClientHeight(true));
  EXPECT_EQ(513, object->QueryWindowWidth(false));

  object->SetDpi(192.0f);
  EXPECT_EQ(320, object->QueryClientWidth(false));   // 320.5
  EXPECT_EQ(250, object->QueryClientHeight(false));  // 250.5
  SetWindowPos(object.get(), nullptr, 0, 0, 643, 503, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(322, object->QueryClientWidth(false));   // 321.5
  EXPECT_EQ(252, object->QueryClientHeight(false));  // 251.5
}

TEST_F(Geometry, WindowWidthIncludesTheFrame) {
  ASSERT_MADE(object, Framed(0, 0, 400, 300, 0, 0, 96.0f));
  EXPECT_EQ(400, object->QueryWindowWidth(true));
  EXPECT_EQ(400, object->QueryWindowWidth(false));
  EXPECT_LT(object->QueryClientWidth(true), 400);
}

struct SizeRecord {
  int count = 0;
  WPARAM kind = 99;
  LPARAM size = 0;
};
SizeRecord sizes;

LRESULT CALLBACK SizeRecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    ++sizes.count;
    sizes.kind = wParam;
    sizes.size = lParam;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Geometry, SizeMessageCarriesTheLogicalClientSize) {
  ASSERT_MADE(window, Popup(0, 0, 641, 500, SizeRecordingProc));
  window->SetDpi(120.0f);
  sizes = SizeRecord{};
  window->SendSizeMessage();
  EXPECT_EQ(1, sizes.count);
  EXPECT_EQ(static_cast<WPARAM>(SIZE_RESTORED), sizes.kind);
  EXPECT_EQ(MAKELPARAM(513, 400), sizes.size);
}

TEST_F(Geometry, CentresOnTheWorkAreaWithTheOddPixelOnTheRight) {
  const RECT work = WorkArea();
  ASSERT_GT(work.right - work.left, 600);
  for (LONG width : {500L, 501L}) {
    ASSERT_MADE(window, Popup(3, 3, width, 201));
    window->CentreWindow(nullptr, nullptr);
    const RECT bounds = WindowBounds(window.get());
    EXPECT_EQ(width, bounds.right - bounds.left);
    const LONG leftMargin = bounds.left - work.left;
    const LONG rightMargin = work.right - bounds.right;
    EXPECT_GE(rightMargin - leftMargin, 0) << width;
    EXPECT_LE(rightMargin - leftMargin, 1) << width;
    const LONG topMargin = bounds.top - work.top;
    const LONG bottomMargin = work.bottom - bounds.bottom;
    EXPECT_GE(bottomMargin - topMargin, 0);
    EXPECT_LE(bottomMargin - topMargin, 1);
  }
}

TEST_F(Geometry, CentresOnAReferenceWindowTruncatingTowardZero) {
  ASSERT_MADE(window, Popup(0, 0, 501, 201));

  ScopedWindow wide(CreatePlainPopup(100, 50, 1000, 600));
  window->CentreWindow(nullptr, wide.get());
  EXPECT_EQ((POINT{349, 249}), PlaceOf(window.get()));  // 499 / 2 + 100, 399 / 2 + 50

  // A reference smaller than the window: -301 / 2 is -150 and -101 / 2 is -50.
  ScopedWindow narrow(CreatePlainPopup(300, 300, 200, 100));
  window->CentreWindow(window.get(), narrow.get());
  EXPECT_EQ((POINT{150, 250}), PlaceOf(window.get()));
}

TEST_F(Geometry, CentringStaysInsideTheWorkArea) {
  const RECT work = WorkArea();
  ASSERT_MADE(window, Popup(0, 0, 300, 200));

  ScopedWindow nearRight(CreatePlainPopup(work.right - 100, work.bottom - 50, 400, 300));
  window->CentreWindow(nullptr, nearRight.get());
  EXPECT_EQ((POINT{work.right - 300, work.bottom - 200}), PlaceOf(window.get()));

  ScopedWindow nearLeft(CreatePlainPopup(work.left - 300, work.top - 250, 400, 300));
  window->CentreWindow(nullptr, nearLeft.get());
  EXPECT_EQ((POINT{work.left, work.top}), PlaceOf(window.get()));

  // Larger than the work area: the left and top edges are kept in view.
  ScopedWindow huge(
      CreatePlainPopup(0, 0, work.right - work.left + 200, work.bottom - work.top + 100));
  window->CentreWindow(huge.get(), nullptr);
  EXPECT_EQ((POINT{work.left, work.top}), PlaceOf(huge.get()));
}

TEST_F(Geometry, CentresAChildInItsParentsClientCoordinates) {
  ASSERT_MADE(parent, Popup(100, 80, 400, 300));
  ASSERT_MADE(child, CreatePlainPopup(0, 0, 100, 50, WS_CHILD | WS_VISIBLE, parent.get()));

  parent->CentreWindow(child, parent.get());
  EXPECT_EQ(Sized(150, 125, 100, 50), ChildBounds(child));

  // Centred on the work area, it lands in the middle of the screen all the same, not at the
  // screen position read as a position inside its parent.
  const RECT work = WorkArea();
  parent->CentreWindow(child, nullptr);
  const RECT onScreen = WindowBounds(child);
  EXPECT_EQ(work.right - onScreen.right, onScreen.left - work.left);
  EXPECT_EQ(work.bottom - onScreen.bottom, onScreen.top - work.top);
}

TEST_F(MessageLoop, WithoutAWindowReturnsAtOnce) {
  auto object = MakeWindowObject();
  PostQuitMessage(5);  // would be the answer if the loop ran
  EXPECT_EQ(0, object->RunMessageLoop(0));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// How the window looked when the loop delivered WM_APP.
struct LoopRecord {
  bool visible = false;
  bool zoomed = false;
  HWND focus = nullptr;
  int cancels = 0;
};
LoopRecord loop;

constexpr UINT kEndLoop = WM_APP;

LRESULT CALLBACK LoopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kEndLoop:
      loop.visible = IsWindowVisible(window) != FALSE;
      loop.zoomed = IsZoomed(window) != FALSE;
      loop.focus = GetFocus();
      DestroyWindow(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        ++loop.cancels;
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(7);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Wine under Xvfb without a window manager waits about 2 s whenever a window on the screen is
// hidden or destroyed; one placed off the screen is never mapped and keeps these tests fast.
Hosted LoopWindow(WNDPROC windowProc) {
  return Hosted([=](CWindow* object) {
    return object->CreateHostWindow(nullptr, L"Loop", -4000, -4000, 300, 200, 0, 0, windowProc,
                                    true);
  });
}

// Ends a loop that would otherwise never end, with a code no test expects.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(-99); }

class Watched {
 public:
  Watched() : timer_(SetTimer(nullptr, 0, 5000, Watchdog)) {}
  ~Watched() { KillTimer(nullptr, timer_); }

 private:
  UINT_PTR timer_;
};

TEST_F(MessageLoop, ShowsTheWindowAndReturnsTheQuitCode) {
  // The show command, and whether the window is maximized then. 0 stands for SW_SHOW (0 itself
  // would be SW_HIDE); other commands are used as given.
  for (const auto& [show, zoomed] : {std::pair{0, false}, std::pair{SW_SHOWMAXIMIZED, true}}) {
    ASSERT_MADE(window, LoopWindow(LoopProc));
    ASSERT_FALSE(IsWindowVisible(window.get()));
    loop = LoopRecord{};
    PostMessageW(window.get(), kEndLoop, 0, 0);
    Watched watchdog;
    EXPECT_EQ(7, window->RunMessageLoop(show)) << show;
    EXPECT_TRUE(loop.visible) << show;
    EXPECT_EQ(zoomed, loop.zoomed) << show;
    EXPECT_FALSE(IsWindow(window.get()));
    EXPECT_EQ(window.get(), window->GetWindowHandle());
  }
}

TEST_F(MessageLoop, EscapeOnAControlBecomesCancelForTheWindow) {
  ASSERT_MADE(window, LoopWindow(LoopProc));
  ASSERT_MADE(button, AddRegenButton(window.object));
  loop = LoopRecord{};
  PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
  Watched watchdog;
  EXPECT_EQ(7, window->RunMessageLoop(0));
  EXPECT_EQ(1, loop.cancels);
}

TEST_F(MessageLoop, EscapeClosesADefaultWindowAndEndsTheLoopWithZero) {
  ASSERT_MADE(window, LoopWindow(nullptr));
  PostMessageW(window.get(), WM_KEYDOWN, VK_ESCAPE, 0);
  Watched watchdog;
  EXPECT_EQ(0, window->RunMessageLoop(0));
  EXPECT_FALSE(IsWindow(window.get()));
}

TEST_F(MessageLoop, TabMovesTheFocusToTheNextTabStop) {
  ASSERT_MADE(window, LoopWindow(LoopProc));
  const auto [first, second] = AddControls(window.object);
  ASSERT_TRUE(Made(first));
  ASSERT_TRUE(Made(second));
  ShowWindow(window.get(), SW_SHOW);
  SetForegroundWindow(window.get());
  SetFocus(first);
  ASSERT_EQ(first, GetFocus());
  loop = LoopRecord{};
  PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
  PostMessageW(window.get(), kEndLoop, 0, 0);
  Watched watchdog;
  EXPECT_EQ(7, window->RunMessageLoop(0));
  EXPECT_EQ(second, loop.focus);
}

}  // namespace
