// Child controls: styles as created, placement in logical units, fonts and subclassing.

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/window/window_test_support.h"

namespace {

using namespace window_test;

class ChildControls : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    object_ = MakeWindowObject();
    host_ = CreatePopup(object_.Get(), 0, 0, 400, 300);
    ASSERT_TRUE(Made(host_));
  }
  // The host goes with its controls, and the object with it, before the leak check.
  void TearDown() override {
    if (host_ != nullptr) DestroyWindow(host_);
    object_.Reset();
    WindowTest::TearDown();
  }

  ComPtr<CWindow> object_;
  HWND host_ = nullptr;
};

TEST_F(ChildControls, ButtonsOfTheApplicationGetTheirStylesIdsAndFont) {
  for (DWORD given : {0x0u, 0xFFFFFFFFu}) {
    const auto [button, box] = AddControls(object_, given, given);
    ASSERT_TRUE(Made(button));
    ASSERT_TRUE(Made(box));
    EXPECT_EQ(0x50010F00u, StyleOf(button));
    EXPECT_EQ(0u, ExStyleOf(button));
    EXPECT_EQ(0x50010D03u, StyleOf(box));
    EXPECT_EQ(0u, ExStyleOf(box));
    EXPECT_EQ(kRegenId, GetDlgCtrlID(button));
    EXPECT_EQ(kGrayId, GetDlgCtrlID(box));
    EXPECT_EQ(host_, GetParent(button));
    EXPECT_EQ(host_, GetParent(box));
    EXPECT_EQ(object_->GetWindowFont(), FontOf(button));
    EXPECT_EQ(object_->GetWindowFont(), FontOf(box));
    EXPECT_EQ(L"Regen", TextOf(button));
    DestroyWindow(button);
    DestroyWindow(box);
  }
}

TEST_F(ChildControls, PushButtonStyleTable) {
  // The style given and the one the button is created with.
  const std::pair<DWORD, DWORD> rows[] = {
      {BS_FLAT, 0x50018F00},      {BS_DEFPUSHBUTTON, 0x50010F01},
      {BS_OWNERDRAW, 0x5001000B}, {0x000C, 0x50010F0C},  // split button
      {0x000D, 0x50010F0D},       {0x10000001, 0x50000001},
      {0x10000000, 0x50000000},   {BS_FLAT | BS_DEFPUSHBUTTON, 0x40008001},
  };
  for (const auto& [given, created] : rows) {
    ASSERT_MADE(button,
                object_->AddPushButton(nullptr, 7, L"b", 0, 0, 50, 20, given, 0, nullptr, true))
        << std::hex << given;
    EXPECT_EQ(created, StyleOf(button)) << std::hex << given;
    DestroyWindow(button);
  }
  // A check box takes any given style as it is.
  ASSERT_MADE(box, object_->AddAutoCheckBox(nullptr, 8, L"c", 0, 0, 50, 20, BS_DEFPUSHBUTTON, 0,
                                            nullptr, true));
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD | BS_DEFPUSHBUTTON), StyleOf(box));
}

TEST_F(ChildControls, GeneralControlAddsOnlyTheChildStyleAndNoFont) {
  ASSERT_MADE(hidden, object_->AddChildControl(L"Button", nullptr, 1, L"h", 0, 0, 10, 10, 0, 0,
                                               nullptr, nullptr, true));
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD), StyleOf(hidden));
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(nullptr, FontOf(hidden));

  ASSERT_MADE(shown, object_->AddChildControl(L"Button", nullptr, 2, L"s", 0, 0, 10, 10, 0xFFFFFFFF,
                                              0xFFFFFFFF, nullptr, nullptr, true));
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP), StyleOf(shown));
  EXPECT_EQ(0u, ExStyleOf(shown));
  EXPECT_EQ(nullptr, FontOf(shown));

  ASSERT_MADE(edged, object_->AddChildControl(L"Static", nullptr, 3, L"e", 0, 0, 10, 10, WS_VISIBLE,
                                              WS_EX_CLIENTEDGE, nullptr, nullptr, true));
  EXPECT_NE(0u, ExStyleOf(edged) & WS_EX_CLIENTEDGE);
}

TEST_F(ChildControls, EtchedFrameIsTransparentUnlessToldOtherwise) {
  ASSERT_MADE(frame, object_->AddEtchedFrame(nullptr, 9, L"", 5, 5, 100, 50, 0, 0, nullptr, true));
  EXPECT_EQ(0x50000012u, StyleOf(frame));
  EXPECT_NE(0u, ExStyleOf(frame) & WS_EX_TRANSPARENT);
  EXPECT_EQ(nullptr, FontOf(frame));
  EXPECT_EQ(0, lstrcmpiW(L"Static", ClassNameOf(frame).c_str()));

  ASSERT_MADE(edged, object_->AddEtchedFrame(nullptr, 10, L"", 5, 5, 100, 50, 0xFFFFFFFF,
                                             WS_EX_CLIENTEDGE, nullptr, true));
  EXPECT_EQ(0x50000012u, StyleOf(edged));
  EXPECT_EQ(0u, ExStyleOf(edged) & WS_EX_TRANSPARENT);
  EXPECT_NE(0u, ExStyleOf(edged) & WS_EX_CLIENTEDGE);
}

TEST_F(ChildControls, PlacedInLogicalUnitsWithHalvesToEven) {
  const std::tuple<float, RECT, RECT> rows[] = {
      {96.0f, Sized(10, 10, 100, 20), Sized(10, 30, 100, 20)},
      {120.0f, Sized(12, 12, 125, 25), Sized(12, 38, 125, 25)},
      {144.0f, Sized(15, 15, 150, 30), Sized(15, 45, 150, 30)}};
  for (const auto& [dpi, buttonBounds, boxBounds] : rows) {
    object_->SetDpi(dpi);
    const auto [button, box] = AddControls(object_);
    ASSERT_TRUE(Made(button));
    ASSERT_TRUE(Made(box));
    EXPECT_EQ(buttonBounds, ChildBounds(button)) << dpi;
    EXPECT_EQ(boxBounds, ChildBounds(box)) << dpi;
    DestroyWindow(button);
    DestroyWindow(box);
  }
  // In pixels the numbers reach the control unchanged.
  object_->SetDpi(120.0f);
  ASSERT_MADE(frame,
              object_->AddEtchedFrame(nullptr, 3, L"", 10, 30, 101, 21, 0, 0, nullptr, true));
  EXPECT_EQ(Sized(10, 30, 101, 21), ChildBounds(frame));
}

TEST_F(ChildControls, MovedInLogicalUnitsAtTheObjectsDpiOfTheMoment) {
  ASSERT_MADE(button, AddRegenButton(object_));
  // The DPI changes after the control was made, as it does when the window changes monitor.
  const std::pair<float, RECT> rows[] = {{144.0f, Sized(15, 15, 150, 30)},
                                         {120.0f, Sized(12, 12, 125, 25)},
                                         {192.0f, Sized(20, 20, 200, 40)},
                                         {96.0f, Sized(10, 10, 100, 20)}};
  for (const auto& [dpi, expected] : rows) {
    object_->SetDpi(dpi);
    EXPECT_TRUE(object_->MoveChildControl(button, 10, 10, 100, 20, false));
    EXPECT_EQ(expected, ChildBounds(button)) << dpi;
  }
  object_->SetDpi(120.0f);
  EXPECT_TRUE(object_->MoveChildControl(button, 10, 30, 101, 21, true));
  EXPECT_EQ(Sized(10, 30, 101, 21), ChildBounds(button));
  EXPECT_FALSE(object_->MoveChildControl(nullptr, 10, 30, 100, 20, false));
}

TEST_F(ChildControls, GivenParentAndCreationParameterReachTheControl) {
  ASSERT_MADE(other, ScopedWindow(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 100,
                                                  nullptr, nullptr, nullptr, nullptr)));
  ASSERT_MADE(button,
              object_->AddPushButton(other.get(), 5, L"x", 1, 2, 30, 20, 0, 0, nullptr, true));
  EXPECT_EQ(other.get(), GetParent(button));

  // A class of our own shows the creation parameter as it arrives.
  static void* seenParam = nullptr;
  struct Probe {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
      if (message == WM_NCCREATE) {
        seenParam = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    }
  };
  WNDCLASSEXW probeClass = {};
  probeClass.cbSize = sizeof(probeClass);
  probeClass.lpfnWndProc = Probe::Proc;
  probeClass.hInstance = GetModuleHandleW(nullptr);
  probeClass.lpszClassName = L"WindowTestProbe";
  ASSERT_NE(0, RegisterClassExW(&probeClass));
  int marker = 0;
  ASSERT_MADE(probe, object_->AddChildControl(L"WindowTestProbe", nullptr, 6, L"", 0, 0, 10, 10, 0,
                                              0, &marker, nullptr, true));
  EXPECT_EQ(&marker, seenParam);
  DestroyWindow(probe);
  EXPECT_TRUE(UnregisterClassW(L"WindowTestProbe", GetModuleHandleW(nullptr)));
}

TEST_F(ChildControls, WithoutAnyWindowAChildCannotBeMade) {
  auto lonely = MakeWindowObject();
  EXPECT_EQ(nullptr, lonely->AddPushButton(nullptr, 1, L"x", 0, 0, 10, 10, 0, 0, nullptr, false));
  EXPECT_EQ(nullptr, lonely->AddAutoCheckBox(nullptr, 1, L"x", 0, 0, 10, 10, 0, 0, nullptr, false));
  EXPECT_EQ(nullptr, lonely->AddEtchedFrame(nullptr, 1, L"x", 0, 0, 10, 10, 0, 0, nullptr, false));
}

// Messages that reached the subclass procedure before it handed them on.
std::vector<UINT> subclassed;

LRESULT CALLBACK ForwardingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  subclassed.push_back(message);
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, L"OLDWNDPROC"));
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

TEST_F(ChildControls, SubclassedControlKeepsItsFormerProcedure) {
  ASSERT_MADE(plain,
              object_->AddAutoCheckBox(nullptr, 1, L"plain", 0, 0, 80, 20, 0, 0, nullptr, true));
  const LONG_PTR buttonProc = GetWindowLongPtrW(plain, GWLP_WNDPROC);
  EXPECT_EQ(nullptr, GetPropW(plain, L"OLDWNDPROC"));

  subclassed.clear();
  ASSERT_MADE(
      box, object_->AddAutoCheckBox(nullptr, 2, L"sub", 0, 30, 80, 20, 0, 0, ForwardingProc, true));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(ForwardingProc), GetWindowLongPtrW(box, GWLP_WNDPROC));
  EXPECT_EQ(buttonProc, reinterpret_cast<LONG_PTR>(GetPropW(box, L"OLDWNDPROC")));
  // The font message of AddAutoCheckBox already goes through the subclass.
  EXPECT_EQ(1, std::count(subclassed.begin(), subclassed.end(), static_cast<UINT>(WM_SETFONT)));

  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(1, std::count(subclassed.begin(), subclassed.end(), static_cast<UINT>(BM_SETCHECK)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
}

}  // namespace
