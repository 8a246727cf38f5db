// OsVersionNumber, RegisterHostClass and DefaultHostProc.

#include <string>

#include "window/host_class.h"
#include "tests/window/window_test_support.h"

namespace {

using namespace window_test;

class HostClass : public WindowTest {};

const HINSTANCE instance = GetModuleHandleW(nullptr);

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HostClass, OsVersionNumberIsMajorPlusMinorHundredths) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_DOUBLE_EQ(info.dwMajorVersion + info.dwMinorVersion / 100.0, OsVersionNumber());
}

TEST_F(HostClass, GeneratedNamesCountUpAcrossObjectsAndDirectRegistrations) {
  ASSERT_MADE(first, Popup(0, 0, 50, 50));
  const std::wstring firstName = first->GetRecordedClassName();
  const int number = ClassNumber(firstName);
  EXPECT_EQ(L"OrbWindowClass:" + std::to_wstring(number), firstName);
  EXPECT_GE(number, 0);

  // A registration outside any object takes the next number, under its own base name.
  const ATOM direct = RegisterHostClass(L"Direct", instance, PlainProc);
  ASSERT_NE(0, direct);
  const std::wstring directName = L"Direct:" + std::to_wstring(number + 1);
  EXPECT_EQ(direct, RegisteredClass(directName.c_str()));
  EXPECT_TRUE(UnregisterClassW(directName.c_str(), instance));

  ASSERT_MADE(second, Popup(0, 0, 50, 50));
  EXPECT_EQ(L"OrbWindowClass:" + std::to_wstring(number + 2),
            std::wstring(second->GetRecordedClassName()));
  EXPECT_EQ(ClassNameOf(second.get()), second->GetRecordedClassName());
}

TEST_F(HostClass, FailedRegistrationLeavesTheNumberForTheNext) {
  ASSERT_MADE(before, Popup(0, 0, 50, 50));
  const int number = ClassNumber(before->GetRecordedClassName());

  // Names are cut to 255 characters, so with a long base the number falls off and the second
  // registration clashes with the first.
  const std::wstring longBase(300, L'L');
  const ATOM registered = RegisterHostClass(longBase.c_str(), instance, PlainProc);
  ASSERT_NE(0, registered);
  EXPECT_EQ(0, RegisterHostClass(longBase.c_str(), instance, PlainProc));
  const std::wstring cut(255, L'L');
  EXPECT_EQ(registered, RegisteredClass(cut.c_str()));
  EXPECT_TRUE(UnregisterClassW(cut.c_str(), instance));

  ASSERT_MADE(after, Popup(0, 0, 50, 50));
  EXPECT_EQ(number + 2, ClassNumber(after->GetRecordedClassName()));
}

TEST_F(HostClass, EmptyOrNullNameUsesTheDefaultBase) {
  for (LPCWSTR base : {static_cast<LPCWSTR>(nullptr), L""}) {
    const ATOM atom = RegisterHostClass(base, instance, PlainProc);
    ASSERT_NE(0, atom);
    ASSERT_MADE(window, CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, instance, nullptr));
    const std::wstring name = ClassNameOf(window);
    EXPECT_EQ(L"OrbWindowClass:" + std::to_wstring(ClassNumber(name)), name);
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(name.c_str(), instance));
  }
}

TEST_F(HostClass, RegisteredClassHasItsFixedShape) {
  for (WNDPROC proc : {static_cast<WNDPROC>(PlainProc), static_cast<WNDPROC>(nullptr)}) {
    const ATOM atom = RegisterHostClass(L"Shape", instance, proc);
    ASSERT_NE(0, atom);
    WNDCLASSEXW shape = {};
    shape.cbSize = sizeof(shape);
    ASSERT_TRUE(GetClassInfoExW(instance, MAKEINTATOM(atom), &shape));
    EXPECT_EQ(static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), shape.style);
    EXPECT_EQ(proc != nullptr ? proc : DefaultHostProc, shape.lpfnWndProc);
    EXPECT_EQ(8, shape.cbClsExtra);
    EXPECT_EQ(4, shape.cbWndExtra);
    EXPECT_EQ(instance, shape.hInstance);
    EXPECT_EQ(nullptr, shape.hIcon);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), shape.hCursor);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
              shape.hbrBackground);
    EXPECT_EQ(nullptr, shape.lpszMenuName);
    EXPECT_TRUE(UnregisterClassW(MAKEINTATOM(atom), instance));
  }
}

// The exit code of a WM_QUIT waiting in this thread's queue, or -1 without one.
int PendingQuitCode() {
  MSG message;
  if (!PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return -1;
  return static_cast<int>(message.wParam);
}

// A window with DefaultHostProc, through a class of its own.
class DefaultHostProc : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    const ATOM atom = RegisterHostClass(L"Default", instance, nullptr);
    ASSERT_NE(0, atom);
    // Off the screen: Wine without a window manager waits about 2 s when it hides a window that
    // is on the screen.
    window_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_OVERLAPPEDWINDOW, -4000, -4000, 200,
                              100, nullptr, nullptr, instance, nullptr);
    ASSERT_TRUE(Made(window_));
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    WindowTest::TearDown();
  }

  // The window is gone and has left a WM_QUIT with exit code 0 for this thread.
  void ExpectClosedWithQuitZero() const {
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, PendingQuitCode());
  }

  HWND window_ = nullptr;
};

TEST_F(DefaultHostProc, ClosesOnSystemCloseAndPostsQuit) {
  // The low four bits of a system command belong to the system and are ignored.
  EXPECT_EQ(0, SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE | 0x3, 0));
  ExpectClosedWithQuitZero();
}

TEST_F(DefaultHostProc, ClosesOnCancelClickOnly) {
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_DOUBLECLICKED), 0);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(-1, PendingQuitCode());

  EXPECT_EQ(0, SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
  ExpectClosedWithQuitZero();
}

TEST_F(DefaultHostProc, LeavesOtherMessagesToTheSystem) {
  EXPECT_TRUE(SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"caption")));
  EXPECT_EQ(L"caption", TextOf(window_));

  EXPECT_EQ(HTCLIENT, SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(-3900, -3950)));

  // Closing through WM_CLOSE also ends in WM_DESTROY and so in WM_QUIT.
  SendMessageW(window_, WM_CLOSE, 0, 0);
  ExpectClosedWithQuitZero();
}

}  // namespace
