#include <gtest/gtest.h>

#include <vector>

#include "d2d/d2d1_helper.h"
#include "palette/colour.h"
#include "palette/palette_colours.h"
#include "palette/palettes.h"
#include "tests/support/records.h"
#include "tests/support/recording_factory.h"
#include "tests/support/recording_render_target.h"

namespace {

using namespace fakes;
using orb::ComPtr;

using NewPaletteFunction = void (*)(IPalette**, ID2DHelper*, ID2D1Factory*);

struct PaletteCase {
  const char* name;
  NewPaletteFunction create;
  std::span<const RgbColour> colours;
  size_t expectedColours;
};

const PaletteCase kPalettes[] = {
    {"Berry", NewBerryPalette, palette_colours::Berry, 11},
    {"Bright", NewBrightPalette, palette_colours::Bright, 16},
    {"BrightPastel", NewBrightPastelPalette, palette_colours::BrightPastel, 15},
    {"Earth", NewEarthPalette, palette_colours::Earth, 16},
    {"Fire", NewFirePalette, palette_colours::Fire, 11},
};

// The luminance with the exact decimal weights in integer arithmetic: an oracle independent of
// floating point (no palette colour lies on or near a half).
int ExactGray(RgbColour c) { return (21 * c.red + 72 * c.green + 7 * c.blue + 50) / 100; }

void ExpectColour(RgbColour expected, const D2D1_COLOR_F& actual) {
  EXPECT_FLOAT_EQ(expected.red / 255.0f, actual.r);
  EXPECT_FLOAT_EQ(expected.green / 255.0f, actual.g);
  EXPECT_FLOAT_EQ(expected.blue / 255.0f, actual.b);
  EXPECT_FLOAT_EQ(1.0f, actual.a);
}

class PaletteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    liveBefore_ = orb::LiveObjectCount();
    ASSERT_EQ(S_OK, NewD2D1Helper(&helper_));
    factory_ = orb::MakeComObject<RecordingFactory>();
    target_ = orb::MakeComObject<RecordingRenderTarget>();
  }
  void TearDown() override {
    helper_.Reset();
    factory_.Reset();
    target_.Reset();
    EXPECT_EQ(liveBefore_, orb::LiveObjectCount()) << "an object was not released";
  }

  ComPtr<IPalette> Make(NewPaletteFunction create) {
    ComPtr<IPalette> palette;
    create(&palette, helper_.Get(), factory_.Get());
    return palette;
  }
  // A palette with its brushes made on target_.
  ComPtr<IPalette> Ready(NewPaletteFunction create) {
    ComPtr<IPalette> palette = Make(create);
    Renderable(palette)->CreateDeviceResources(target_.Get());
    return palette;
  }

  static ComPtr<IRenderable> Renderable(const ComPtr<IPalette>& palette) {
    ComPtr<IRenderable> renderable;
    EXPECT_EQ(S_OK, palette.As(&renderable));
    return renderable;
  }

  ComPtr<ID2D1SolidColorBrush> Brush(const ComPtr<IPalette>& palette, INT32 index,
                                     const INT32* gray = nullptr) {
    ComPtr<ID2D1SolidColorBrush> brush;
    palette->GetBrush(index, &brush, gray);
    return brush;
  }

  std::vector<RenderCall> Creations() const {
    return target_->CallsOf(RenderOp::CreateSolidColorBrush);
  }

  LONG liveBefore_ = 0;
  ComPtr<ID2DHelper> helper_;
  ComPtr<RecordingFactory> factory_;
  ComPtr<RecordingRenderTarget> target_;
};

TEST(GrayLevel, MatchesTheWorkedExamples) {
  EXPECT_EQ(18, GrayLevel(0, 0, 255));
  EXPECT_EQ(255, GrayLevel(255, 255, 255));
  EXPECT_EQ(128, GrayLevel(128, 128, 128));
  EXPECT_EQ(54, GrayLevel(255, 0, 0));
  EXPECT_EQ(184, GrayLevel(0, 255, 0));
  EXPECT_EQ(76, GrayLevel(138, 43, 226));
}

TEST_F(PaletteTest, MakesColourBrushesThenGrayBrushesForEveryEntry) {
  for (const PaletteCase& c : kPalettes) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.expectedColours, c.colours.size());
    auto palette = Make(c.create);
    ASSERT_TRUE(palette);
    target_->ForgetCalls();
    Renderable(palette)->CreateDeviceResources(target_.Get());

    const auto creations = Creations();
    ASSERT_EQ(2 * c.colours.size(), creations.size());
    for (size_t i = 0; i < c.colours.size(); ++i) {
      const RgbColour colour = c.colours[i];
      ExpectColour(colour, creations[i].color);
      const auto level = static_cast<std::uint8_t>(ExactGray(colour));
      ExpectColour(RgbColour{level, level, level}, creations[c.colours.size() + i].color);
    }
    for (const RenderCall& call : creations) {
      ASSERT_TRUE(call.hasBrushProperties);
      EXPECT_FLOAT_EQ(1.0f, call.brushProperties.opacity);
      EXPECT_EQ(helper_->MakeIdentityMatrix(), call.brushProperties.transform);
    }
  }
}

TEST_F(PaletteTest, AlreadyGrayEntriesKeepTheirColourAndWhiteStaysWhite) {
  auto bright = Ready(NewBrightPalette);
  const INT32 gray = -1;
  for (INT32 entry : {7, 13}) {
    EXPECT_EQ(Brush(bright, entry)->GetColor().r, Brush(bright, entry, &gray)->GetColor().r);
  }
  auto fire = Ready(NewFirePalette);
  EXPECT_FLOAT_EQ(1.0f, Brush(fire, 10, &gray)->GetColor().g);
}

TEST_F(PaletteTest, IndicesWrapAroundTheColourCount) {
  auto berry = Ready(NewBerryPalette);
  const auto creations = Creations();
  EXPECT_EQ(creations[0].createdBrush, Brush(berry, 11).Get());
  EXPECT_EQ(creations[3].createdBrush, Brush(berry, 25).Get());
  EXPECT_EQ(creations[10].createdBrush, Brush(berry, 10).Get());
  // Entries 0 and 5 share a colour but not a brush.
  EXPECT_NE(Brush(berry, 0).Get(), Brush(berry, 5).Get());
  EXPECT_EQ(Brush(berry, 0)->GetColor().b, Brush(berry, 5)->GetColor().b);
  EXPECT_EQ(Brush(berry, 11).Get(), Brush(berry, 0).Get());
  EXPECT_EQ(Brush(berry, 16).Get(), Brush(berry, 5).Get());

  target_->ForgetCalls();
  auto pastel = Ready(NewBrightPastelPalette);
  EXPECT_EQ(Creations()[0].createdBrush, Brush(pastel, 15).Get());
}

TEST_F(PaletteTest, GrayFlagAndOverrideChooseTheBrush) {
  auto berry = Ready(NewBerryPalette);
  const auto creations = Creations();
  ID2D1SolidColorBrush* colour2 = creations[2].createdBrush;
  ID2D1SolidColorBrush* gray2 = creations[11 + 2].createdBrush;
  const INT32 on = -1;
  const INT32 off = 0;

  EXPECT_EQ(0, berry->GetGray());
  EXPECT_EQ(colour2, Brush(berry, 2).Get());
  berry->SetGray(-1);
  EXPECT_EQ(gray2, Brush(berry, 2).Get());
  EXPECT_EQ(colour2, Brush(berry, 2, &off).Get());
  berry->SetGray(0);
  EXPECT_EQ(gray2, Brush(berry, 2, &on).Get());
  berry->SetGray(5);
  EXPECT_EQ(5, berry->GetGray());
  EXPECT_EQ(gray2, Brush(berry, 2).Get());
}

TEST_F(PaletteTest, NoBrushesBeforeCreationAfterDiscardOrForANegativeIndex) {
  auto earth = Make(NewEarthPalette);
  // A brush already held by the caller's variable is given up either way.
  ComPtr<ID2D1SolidColorBrush> held;
  const D2D1_COLOR_F half = helper_->MakeColor(0.5f, 0.5f, 0.5f);
  target_->CreateSolidColorBrush(&half, nullptr, &held);
  earth->GetBrush(0, &held);
  EXPECT_FALSE(held);

  auto renderable = Renderable(earth);
  renderable->CreateDeviceResources(target_.Get());
  EXPECT_TRUE(Brush(earth, 0));
  EXPECT_FALSE(Brush(earth, -1));
  EXPECT_FALSE(Brush(earth, INT32_MIN));
  EXPECT_TRUE(Brush(earth, INT32_MAX));

  renderable->DiscardDeviceResources();
  EXPECT_FALSE(Brush(earth, 0));
  renderable->DiscardDeviceResources();  // twice is harmless
  target_->ForgetCalls();
  renderable->CreateDeviceResources(target_.Get());
  EXPECT_EQ(32u, Creations().size());
  EXPECT_TRUE(Brush(earth, 0));
}

TEST_F(PaletteTest, AFailedBrushLeavesItsPositionEmptyUntilTheNextCreation) {
  auto fire = Make(NewFirePalette);
  auto renderable = Renderable(fire);
  target_->FailBrushCreation(3);  // colour brush 2
  renderable->CreateDeviceResources(target_.Get());
  EXPECT_EQ(22u, Creations().size());
  EXPECT_FALSE(Brush(fire, 2));
  EXPECT_TRUE(Brush(fire, 1));
  const INT32 gray = -1;
  EXPECT_TRUE(Brush(fire, 2, &gray));

  target_->FailBrushCreation(0);
  renderable->CreateDeviceResources(target_.Get());
  EXPECT_TRUE(Brush(fire, 2));
}

TEST_F(PaletteTest, RenderableSideDrawsAndHitsNothing) {
  auto bright = Make(NewBrightPalette);
  auto renderable = Renderable(bright);
  renderable->CreateDeviceResources(target_.Get());
  target_->ForgetCalls();
  renderable->Draw(nullptr);
  EXPECT_TRUE(target_->Calls().empty());
  EXPECT_EQ(0, renderable->HitTest(10.0f, 10.0f, helper_->MakeIdentityMatrix()));
}

TEST_F(PaletteTest, KeepsItsRenderTargetUntilReplacedAndReleasesEverythingAtTheEnd) {
  const LONG withFixtures = orb::LiveObjectCount();
  auto bright = Make(NewBrightPalette);
  auto renderable = Renderable(bright);
  renderable->CreateDeviceResources(target_.Get());
  EXPECT_EQ(withFixtures + 1 + 32, orb::LiveObjectCount());

  renderable->DiscardDeviceResources();
  EXPECT_EQ(withFixtures + 1, orb::LiveObjectCount());
  // The palette still holds the target: it outlives the test's own reference.
  ComPtr<RecordingRenderTarget> first = target_;
  target_.Reset();
  first.Reset();
  EXPECT_EQ(withFixtures + 1, orb::LiveObjectCount());

  // A new target replaces the old one, which goes.
  auto second = orb::MakeComObject<RecordingRenderTarget>();
  renderable->CreateDeviceResources(second.Get());
  EXPECT_EQ(withFixtures + 1 + 32, orb::LiveObjectCount());

  // The last reference takes the brushes, the target, the helper and the factory with it.
  renderable.Reset();
  bright.Reset();
  second.Reset();
  helper_.Reset();
  factory_.Reset();
  EXPECT_EQ(liveBefore_, orb::LiveObjectCount());
}

}  // namespace
