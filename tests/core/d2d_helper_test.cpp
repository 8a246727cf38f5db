// The Direct2D helper's records: every field as given, and the defaults for those left out.

#include <gtest/gtest.h>

#include <utility>

#include "d2d/d2d1_helper.h"
#include "tests/core/chart_test_support.h"
#include "tests/support/records.h"

namespace {

using namespace chart_test;

TEST(D2DHelper, ColorDefaultsAlphaToOneAndPassesValuesThrough) {
  auto helper = MakeHelper();
  const std::pair<D2D1_COLOR_F, D2D1_COLOR_F> rows[] = {
      {helper->MakeColor(0.2f, 0.4f, 0.6f), {0.2f, 0.4f, 0.6f, 1.0f}},
      {helper->MakeColor(0.2f, 0.4f, 0.6f, 0.5f), {0.2f, 0.4f, 0.6f, 0.5f}},
      {helper->MakeColor(-1.0f, 2.0f, 300.0f, 7.0f), {-1.0f, 2.0f, 300.0f, 7.0f}}};
  for (const auto& [made, expected] : rows) EXPECT_EQ(expected, made);
}

TEST(D2DHelper, RenderTargetPropertiesDefaultTheirPixelFormat) {
  auto helper = MakeHelper();
  const D2D1_PIXEL_FORMAT unknown = {DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN};
  const D2D1_PIXEL_FORMAT bgra = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
  const D2D1_PIXEL_FORMAT made =
      helper->MakePixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED);
  const std::pair<const D2D1_PIXEL_FORMAT*, D2D1_RENDER_TARGET_PROPERTIES> rows[] = {
      {nullptr,
       {D2D1_RENDER_TARGET_TYPE_DEFAULT, unknown, 0.0f, 0.0f, D2D1_RENDER_TARGET_USAGE_NONE,
        D2D1_FEATURE_LEVEL_DEFAULT}},
      {&made,
       {D2D1_RENDER_TARGET_TYPE_SOFTWARE, bgra, 120.0f, 144.0f,
        D2D1_RENDER_TARGET_USAGE_GDI_COMPATIBLE, D2D1_FEATURE_LEVEL_10}}};
  for (const auto& [given, e] : rows) {
    EXPECT_EQ(
        e, helper->MakeRenderTargetProperties(e.type, given, e.dpiX, e.dpiY, e.usage, e.minLevel));
  }
}

TEST(D2DHelper, HwndPropertiesDefaultTheirPixelSize) {
  auto helper = MakeHelper();
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const D2D1_SIZE_U size = helper->MakeSizeU(512, 540);
  const std::pair<const D2D1_SIZE_U*, D2D1_HWND_RENDER_TARGET_PROPERTIES> rows[] = {
      {nullptr, {window, {0, 0}, D2D1_PRESENT_OPTIONS_NONE}},
      {&size, {window, {512, 540}, D2D1_PRESENT_OPTIONS_IMMEDIATELY}}};
  for (const auto& [given, expected] : rows) {
    EXPECT_EQ(expected,
              helper->MakeHwndRenderTargetProperties(window, given, expected.presentOptions));
  }
}

TEST(D2DHelper, IdentityMatrixLeavesPointsUnchanged) {
  auto helper = MakeHelper();
  const D2D1_MATRIX_3X2_F m = helper->MakeIdentityMatrix();
  const D2D1_POINT_2F p = helper->MakePoint(12.5f, -3.25f);
  EXPECT_EQ(12.5f, p.x * m._11 + p.y * m._21 + m._31);
  EXPECT_EQ(-3.25f, p.x * m._12 + p.y * m._22 + m._32);
}

TEST(D2DHelper, CreateFactoryGivesASingleThreadedFactory) {
  ComPtr<ID2D1Factory> factory;
  ASSERT_EQ(S_OK, CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &factory));
  EXPECT_NE(nullptr, factory.Get());
}

// Its interface identifier is checked with the others' in interface_ids_test.cpp.
TEST(D2DHelper, EveryHelperIsACountedObjectAndIsReleased) {
  const LONG before = orb::LiveObjectCount();
  {
    auto helper = MakeHelper();
    EXPECT_EQ(before + 1, orb::LiveObjectCount());
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, helper.As(&unknown));
  }
  EXPECT_EQ(before, orb::LiveObjectCount());
}

}  // namespace
