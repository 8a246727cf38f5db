#include <cmath>

#include "app/app_objects.h"
#include "app/random_source.h"
#include "tests/app/app_fixture.h"

namespace apptest {
namespace {

TEST(RandomInteger, CoversTheWholeInclusiveRange) {
  ScriptedRandom random;
  random.QueueInteger(2, 2, 20);
  EXPECT_EQ(2, RandomInteger(random, 2, 20));
  EXPECT_EQ(2, RandomInteger(random, 2, 20));  // u = 0
  SeededRandomSource seeded(12345);
  int lowest = 1000;
  int highest = -1000;
  for (int i = 0; i < 20000; ++i) {
    const double unit = seeded.NextUnit();
    ASSERT_GE(unit, 0.0);
    ASSERT_LT(unit, 1.0);
    const int value = static_cast<int>(std::floor(unit * 141 + 10));
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
  }
  EXPECT_EQ(10, lowest);
  EXPECT_EQ(150, highest);
}

TEST_F(AppTest, StartUpCaptionNamesBothPalettesAndGrayIsChecked) {
  EXPECT_EQ(L"D2 Pie: Fire, Berry", Caption());
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window_, IdGray));
  EXPECT_NE(0, PaletteOf(Upper())->GetGray());
  EXPECT_EQ(0, PaletteOf(Lower())->GetGray());
}

TEST_F(AppTest, RegenGivesEachChartItsValuesAndPaletteInDrawOrder) {
  Regen({10, 150}, 2, {50, 50, 50, 50, 50}, 3);
  EXPECT_EQ(L"D2 Pie: Bright Pastel, Earth", Caption());
  EXPECT_EQ(App().PaletteTable[2].Get(), PaletteOf(Upper()));
  EXPECT_EQ(App().PaletteTable[3].Get(), PaletteOf(Lower()));

  // 10 of 160 is a 22.5-degree slice from angle 0; the other takes the rest.
  EXPECT_EQ(0, HitAt(Upper(), 11.0f, 0.7f));
  EXPECT_EQ(1, HitAt(Upper(), 30.0f, 0.7f));
  EXPECT_EQ(1, HitAt(Upper(), 350.0f, 0.7f));
  for (int slice = 0; slice < 5; ++slice) {
    EXPECT_EQ(slice, HitAt(Lower(), 72.0f * slice + 36.0f, 0.7f));
  }
}

TEST_F(AppTest, RegenAtTheEndsOfTheRanges) {
  Regen(std::vector<int>(20, 150), 4, std::vector<int>(2, 10), 0);
  EXPECT_EQ(L"D2 Pie: Fire, Berry", Caption());
  // Twenty equal slices of 18 degrees: the point at 351 degrees lies in the last one.
  EXPECT_EQ(19, HitAt(Upper(), 351.0f, 0.8f));
}

TEST_F(AppTest, GrayFollowsTheBoxForTheUpperPaletteOnly) {
  Regen({20, 30}, 1, {20, 30}, 3);
  EXPECT_EQ(-1, App().PaletteTable[1]->GetGray());
  EXPECT_EQ(0, App().PaletteTable[3]->GetGray());

  // A lower-only palette is set to colour even when it was gray before.
  App().PaletteTable[2]->SetGray(-1);
  Regen({20, 30}, 1, {20, 30}, 2);
  EXPECT_EQ(0, App().PaletteTable[2]->GetGray());

  // A shared palette follows the box.
  Regen({20, 30}, 3, {20, 30}, 3);
  EXPECT_EQ(L"D2 Pie: Earth, Earth", Caption());
  EXPECT_EQ(-1, App().PaletteTable[3]->GetGray());
  CheckDlgButton(window_, IdGray, BST_UNCHECKED);
  Regen({20, 30}, 3, {20, 30}, 3);
  EXPECT_EQ(0, App().PaletteTable[3]->GetGray());
}

TEST_F(AppTest, RegenKeepsSelectionsAndRespondsToAnyNotificationCode) {
  Upper()->SelectSlice(3);
  for (WORD code : {WORD{0}, WORD{1}, WORD{0xFFFF}}) {
    Regen({20, 30}, 2, {20, 30}, 0, code);
    EXPECT_EQ(L"D2 Pie: Bright Pastel, Berry", Caption());
    Regen({20, 30}, 1, {20, 30}, 3, code);
    EXPECT_EQ(L"D2 Pie: Bright, Earth", Caption());
  }
  EXPECT_EQ(3, Upper()->GetSelectedSlice());
}

TEST_F(AppTest, RegenWithoutAMainWindowRepaintsNoWindow) {
  // Another window of this process, visible and up to date, beside the program's.
  const HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  UpdateWindow(other);
  ForgetRepaint();
  App().MainWindow.Reset();
  random_.QueueChart({20, 30}, 1);
  random_.QueueChart({20, 30}, 3);
  RegenerateCharts();
  EXPECT_EQ(App().PaletteTable[1].Get(), PaletteOf(Upper()));
  EXPECT_FALSE(GetUpdateRect(other, nullptr, FALSE)) << "another window was invalidated";
  EXPECT_FALSE(RepaintRequested()) << "the window the program no longer holds was invalidated";
  DestroyWindow(other);
}

TEST_F(AppTest, GrayToggleChangesTheUpperPaletteAndRepaints) {
  Regen({20, 30}, 1, {20, 30}, 3);
  ForgetRepaint();
  CheckDlgButton(window_, IdGray, BST_UNCHECKED);
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IdGray, 0xFFFF), 0);
  EXPECT_EQ(0, App().PaletteTable[1]->GetGray());
  EXPECT_TRUE(RepaintRequested());
  CheckDlgButton(window_, IdGray, BST_CHECKED);
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IdGray, BN_CLICKED), 0);
  EXPECT_EQ(-1, App().PaletteTable[1]->GetGray());
  EXPECT_EQ(0, App().PaletteTable[3]->GetGray());
}

}  // namespace
}  // namespace apptest
