#include <gtest/gtest.h>

#include "d2d/d2d1_helper.h"

namespace {

using orb::ComPtr;

ComPtr<ID2DHelper> MakeHelper() {
  ComPtr<ID2DHelper> helper;
  EXPECT_EQ(S_OK, NewD2D1Helper(&helper));
  return helper;
}

TEST(D2DHelper, InterfaceIdentifierMatchesItsStringForm) {
  IID expected;
  ASSERT_EQ(S_OK, IIDFromString(L"{CBA0E99F-A172-40F0-9FA6-60C0B7508429}", &expected));
  EXPECT_EQ(expected, __uuidof(ID2DHelper));
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, MakeHelper().As(&unknown));
}

TEST(D2DHelper, ColorDefaultsAlphaToOneAndPassesValuesThrough) {
  auto helper = MakeHelper();
  const D2D1_COLOR_F opaque = helper->MakeColor(0.2f, 0.4f, 0.6f);
  EXPECT_FLOAT_EQ(0.2f, opaque.r);
  EXPECT_FLOAT_EQ(0.4f, opaque.g);
  EXPECT_FLOAT_EQ(0.6f, opaque.b);
  EXPECT_FLOAT_EQ(1.0f, opaque.a);
  EXPECT_FLOAT_EQ(0.5f, helper->MakeColor(0.2f, 0.4f, 0.6f, 0.5f).a);
  const D2D1_COLOR_F outside = helper->MakeColor(-1.0f, 2.0f, 300.0f, 7.0f);
  EXPECT_FLOAT_EQ(-1.0f, outside.r);
  EXPECT_FLOAT_EQ(2.0f, outside.g);
  EXPECT_FLOAT_EQ(300.0f, outside.b);
  EXPECT_FLOAT_EQ(7.0f, outside.a);
}

TEST(D2DHelper, RenderTargetPropertiesDefaultTheirPixelFormat) {
  auto helper = MakeHelper();
  const auto zero =
      helper->MakeRenderTargetProperties(D2D1_RENDER_TARGET_TYPE_DEFAULT, nullptr, 0.0f, 0.0f,
                                         D2D1_RENDER_TARGET_USAGE_NONE, D2D1_FEATURE_LEVEL_DEFAULT);
  EXPECT_EQ(DXGI_FORMAT_UNKNOWN, zero.pixelFormat.format);
  EXPECT_EQ(D2D1_ALPHA_MODE_UNKNOWN, zero.pixelFormat.alphaMode);
  EXPECT_EQ(D2D1_RENDER_TARGET_TYPE_DEFAULT, zero.type);
  EXPECT_EQ(0.0f, zero.dpiX);
  EXPECT_EQ(0.0f, zero.dpiY);
  EXPECT_EQ(D2D1_RENDER_TARGET_USAGE_NONE, zero.usage);
  EXPECT_EQ(D2D1_FEATURE_LEVEL_DEFAULT, zero.minLevel);

  const D2D1_PIXEL_FORMAT bgra =
      helper->MakePixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED);
  const auto given = helper->MakeRenderTargetProperties(
      D2D1_RENDER_TARGET_TYPE_SOFTWARE, &bgra, 120.0f, 144.0f,
      D2D1_RENDER_TARGET_USAGE_GDI_COMPATIBLE, D2D1_FEATURE_LEVEL_10);
  EXPECT_EQ(D2D1_RENDER_TARGET_TYPE_SOFTWARE, given.type);
  EXPECT_EQ(DXGI_FORMAT_B8G8R8A8_UNORM, given.pixelFormat.format);
  EXPECT_EQ(D2D1_ALPHA_MODE_PREMULTIPLIED, given.pixelFormat.alphaMode);
  EXPECT_EQ(120.0f, given.dpiX);
  EXPECT_EQ(144.0f, given.dpiY);
  EXPECT_EQ(D2D1_RENDER_TARGET_USAGE_GDI_COMPATIBLE, given.usage);
  EXPECT_EQ(D2D1_FEATURE_LEVEL_10, given.minLevel);
}

TEST(D2DHelper, HwndPropertiesDefaultTheirPixelSize) {
  auto helper = MakeHelper();
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const auto absent =
      helper->MakeHwndRenderTargetProperties(window, nullptr, D2D1_PRESENT_OPTIONS_NONE);
  EXPECT_EQ(window, absent.hwnd);
  EXPECT_EQ(0u, absent.pixelSize.width);
  EXPECT_EQ(0u, absent.pixelSize.height);
  const D2D1_SIZE_U size = helper->MakeSizeU(512, 540);
  const auto given =
      helper->MakeHwndRenderTargetProperties(window, &size, D2D1_PRESENT_OPTIONS_IMMEDIATELY);
  EXPECT_EQ(512u, given.pixelSize.width);
  EXPECT_EQ(540u, given.pixelSize.height);
  EXPECT_EQ(D2D1_PRESENT_OPTIONS_IMMEDIATELY, given.presentOptions);
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

TEST(D2DHelper, EveryHelperIsReleased) {
  const LONG before = orb::LiveObjectCount();
  {
    auto helper = MakeHelper();
    EXPECT_EQ(before + 1, orb::LiveObjectCount());
  }
  EXPECT_EQ(before, orb::LiveObjectCount());
}

}  // namespace
