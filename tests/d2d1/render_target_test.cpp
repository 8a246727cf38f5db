// The window render target under a real window: creation, state, sizes and DPI, window state,
// and what a frame puts on the screen.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "d2d1_test_support.h"

namespace {

using d2d1test::ComPtr;
using d2d1test::MakeFactory;
using d2d1test::MakeTarget;
using d2d1test::TestWindow;

D2D1_COLOR_F Rgb(float r, float g, float b) { return {r, g, b, 1.0f}; }

ComPtr<ID2D1SolidColorBrush> Brush(ID2D1RenderTarget* target, D2D1_COLOR_F color) {
  ComPtr<ID2D1SolidColorBrush> brush;
  target->CreateSolidColorBrush(&color, nullptr, &brush);
  return brush;
}

ComPtr<ID2D1PathGeometry> Square(ID2D1Factory* factory, float left, float top, float size) {
  return d2d1test::MakePath(factory, [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure({left, top}, D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine({left + size, top});
    sink->AddLine({left + size, top + size});
    sink->AddLine({left, top + size});
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
}

int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb) {
  int count = 0;
  for (const auto p : pixels) count += p == rgb ? 1 : 0;
  return count;
}

TEST(StandInRenderTarget, CreationChecksItsArguments) {
  auto factory = MakeFactory();
  TestWindow window(64, 48);
  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  D2D1_HWND_RENDER_TARGET_PROPERTIES hwndProperties = {
      window.Handle(), {64, 48}, D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> target;
  EXPECT_EQ(S_OK, factory->CreateHwndRenderTarget(&properties, &hwndProperties, &target));
  EXPECT_EQ(window.Handle(), target->GetHwnd());

  ComPtr<ID2D1HwndRenderTarget> refused;
  hwndProperties.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ffe));
  EXPECT_EQ(E_INVALIDARG, factory->CreateHwndRenderTarget(&properties, &hwndProperties, &refused));
  hwndProperties.hwnd = nullptr;
  EXPECT_EQ(E_INVALIDARG, factory->CreateHwndRenderTarget(&properties, &hwndProperties, &refused));
  EXPECT_EQ(E_INVALIDARG, factory->CreateHwndRenderTarget(nullptr, &hwndProperties, &refused));
  EXPECT_EQ(nullptr, refused.Get());
}

TEST(StandInRenderTarget, AnswersItsInterfaceChainAndMakesBrushes) {
  auto factory = MakeFactory();
  TestWindow window(32, 32);
  auto target = MakeTarget(factory.Get(), window.Handle(), 32, 32);
  ASSERT_TRUE(target);
  ComPtr<ID2D1RenderTarget> renderTarget;
  ComPtr<ID2D1Resource> resource;
  ComPtr<ID2D1BitmapRenderTarget> bitmapTarget;
  EXPECT_EQ(S_OK, target.As(&renderTarget));
  EXPECT_EQ(S_OK, target.As(&resource));
  EXPECT_EQ(E_NOINTERFACE, target.As(&bitmapTarget));

  const D2D1_COLOR_F color = {0.25f, 0.5f, 0.75f, 1.0f};
  const D2D1_BRUSH_PROPERTIES brushProperties = {0.5f, {2, 0, 0, 2, 3, 4}};
  ComPtr<ID2D1SolidColorBrush> brush;
  ASSERT_EQ(S_OK, target->CreateSolidColorBrush(&color, &brushProperties, &brush));
  ComPtr<ID2D1Brush> plain;
  EXPECT_EQ(S_OK, brush.As(&plain));
  EXPECT_EQ(S_OK, brush.As(&resource));
  EXPECT_FLOAT_EQ(0.5f, brush->GetOpacity());
  D2D1_MATRIX_3X2_F transform;
  brush->GetTransform(&transform);
  EXPECT_FLOAT_EQ(2, transform._11);
  EXPECT_FLOAT_EQ(4, transform._32);
  EXPECT_FLOAT_EQ(0.75f, brush->GetColor().b);
  const D2D1_COLOR_F other = {1, 0, 0, 0.5f};
  brush->SetColor(&other);
  brush->SetOpacity(0.25f);
  EXPECT_FLOAT_EQ(1.0f, brush->GetColor().r);
  EXPECT_FLOAT_EQ(0.5f, brush->GetColor().a);
  EXPECT_FLOAT_EQ(0.25f, brush->GetOpacity());

  ComPtr<ID2D1SolidColorBrush> defaults;
  ASSERT_EQ(S_OK, target->CreateSolidColorBrush(&color, nullptr, &defaults));
  EXPECT_FLOAT_EQ(1.0f, defaults->GetOpacity());
  EXPECT_EQ(E_INVALIDARG, target->CreateSolidColorBrush(nullptr, nullptr, &defaults));
}

TEST(StandInRenderTarget, KeepsTransformAndAntialiasMode) {
  auto factory = MakeFactory();
  TestWindow window(32, 32);
  auto target = MakeTarget(factory.Get(), window.Handle(), 32, 32);
  ASSERT_TRUE(target);
  EXPECT_EQ(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE, target->GetAntialiasMode());
  target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
  EXPECT_EQ(D2D1_ANTIALIAS_MODE_ALIASED, target->GetAntialiasMode());
  D2D1_MATRIX_3X2_F matrix;
  target->GetTransform(&matrix);
  EXPECT_FLOAT_EQ(1, matrix._11);
  EXPECT_FLOAT_EQ(0, matrix._31);
  const D2D1_MATRIX_3X2_F moved = {1, 0, 0, 1, 7, -3};
  target->SetTransform(&moved);
  target->GetTransform(&matrix);
  EXPECT_FLOAT_EQ(7, matrix._31);
  EXPECT_FLOAT_EQ(-3, matrix._32);
}

TEST(StandInRenderTarget, SizesFollowPixelsAndDpi) {
  auto factory = MakeFactory();
  TestWindow window(200, 100);
  FLOAT desktopX = 0, desktopY = 0;
  factory->GetDesktopDpi(&desktopX, &desktopY);

  auto target = MakeTarget(factory.Get(), window.Handle(), 200, 100);  // DPI 0: the desktop's
  ASSERT_TRUE(target);
  FLOAT dpiX = 0, dpiY = 0;
  target->GetDpi(&dpiX, &dpiY);
  EXPECT_FLOAT_EQ(desktopX, dpiX);
  EXPECT_FLOAT_EQ(desktopY, dpiY);
  EXPECT_EQ(200u, target->GetPixelSize().width);
  EXPECT_EQ(100u, target->GetPixelSize().height);
  EXPECT_FLOAT_EQ(200 * 96 / desktopX, target->GetSize().width);

  target->SetDpi(192, 48);
  EXPECT_FLOAT_EQ(100, target->GetSize().width);
  EXPECT_FLOAT_EQ(200, target->GetSize().height);
  target->SetDpi(-5, 96);  // ignored
  target->GetDpi(&dpiX, &dpiY);
  EXPECT_FLOAT_EQ(192, dpiX);
  target->SetDpi(0, 0);  // back to the desktop's
  target->GetDpi(&dpiX, &dpiY);
  EXPECT_FLOAT_EQ(desktopX, dpiX);

  const D2D1_SIZE_U bigger = {300, 150};
  EXPECT_EQ(S_OK, target->Resize(&bigger));
  EXPECT_EQ(300u, target->GetPixelSize().width);
  EXPECT_EQ(150u, target->GetPixelSize().height);
  EXPECT_EQ(E_INVALIDARG, target->Resize(nullptr));

  auto explicitDpi = MakeTarget(factory.Get(), window.Handle(), 240, 120, 120.0f);
  ASSERT_TRUE(explicitDpi);
  EXPECT_FLOAT_EQ(192, explicitDpi->GetSize().width);
  EXPECT_FLOAT_EQ(96, explicitDpi->GetSize().height);
}

TEST(StandInRenderTarget, RefusesFramesLargerThanItsMaximumAndKeepsTheOldOne) {
  auto factory = MakeFactory();
  TestWindow window(64, 48);
  auto target = MakeTarget(factory.Get(), window.Handle(), 64, 48);
  ASSERT_TRUE(target);
  const UINT32 maximum = target->GetMaximumBitmapSize();
  EXPECT_GE(maximum, 8192u);

  const D2D1_SIZE_U sizes[] = {
      {65535, 65535}, {maximum + 1, 1}, {1, maximum + 1}, {maximum, maximum}};
  for (const D2D1_SIZE_U& size : sizes) {
    EXPECT_EQ(static_cast<HRESULT>(D2DERR_MAX_TEXTURE_SIZE_EXCEEDED), target->Resize(&size));
    EXPECT_EQ(64u, target->GetPixelSize().width);
    EXPECT_EQ(48u, target->GetPixelSize().height);
  }
  const D2D1_SIZE_U widest = {maximum, 2};
  EXPECT_EQ(S_OK, target->Resize(&widest));

  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  const D2D1_HWND_RENDER_TARGET_PROPERTIES huge = {
      window.Handle(), {65535, 65535}, D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> refused;
  EXPECT_EQ(static_cast<HRESULT>(D2DERR_MAX_TEXTURE_SIZE_EXCEEDED),
            factory->CreateHwndRenderTarget(&properties, &huge, &refused));
  EXPECT_EQ(nullptr, refused.Get());
}

TEST(StandInRenderTarget, ReportsOcclusionWhileMinimisedOrHidden) {
  auto factory = MakeFactory();
  TestWindow window(40, 40, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  auto target = MakeTarget(factory.Get(), window.Handle(), 40, 40);
  ASSERT_TRUE(target);
  EXPECT_EQ(D2D1_WINDOW_STATE_NONE, target->CheckWindowState());
  ShowWindow(window.Handle(), SW_MINIMIZE);
  d2d1test::PumpMessages();
  EXPECT_EQ(D2D1_WINDOW_STATE_OCCLUDED, target->CheckWindowState());
  ShowWindow(window.Handle(), SW_RESTORE);
  d2d1test::PumpMessages();
  EXPECT_EQ(D2D1_WINDOW_STATE_NONE, target->CheckWindowState());
  ShowWindow(window.Handle(), SW_HIDE);
  EXPECT_EQ(D2D1_WINDOW_STATE_OCCLUDED, target->CheckWindowState());
}

TEST(StandInRenderTarget, EndDrawOutsideAFrameIsAWrongState) {
  auto factory = MakeFactory();
  TestWindow window(16, 16);
  auto target = MakeTarget(factory.Get(), window.Handle(), 16, 16);
  ASSERT_TRUE(target);
  EXPECT_EQ(D2DERR_WRONG_STATE, target->EndDraw(nullptr, nullptr));
  target->BeginDraw();
  EXPECT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
  EXPECT_EQ(D2DERR_WRONG_STATE, target->EndDraw(nullptr, nullptr));
  // Drawing an unclosed geometry is reported when the frame ends.
  ComPtr<ID2D1PathGeometry> open;
  ASSERT_EQ(S_OK, factory->CreatePathGeometry(&open));
  ComPtr<ID2D1GeometrySink> sink;
  ASSERT_EQ(S_OK, open->Open(&sink));
  auto brush = Brush(target.Get(), Rgb(1, 1, 1));
  target->BeginDraw();
  target->FillGeometry(open.Get(), brush.Get(), nullptr);
  EXPECT_EQ(D2DERR_WRONG_STATE, target->EndDraw(nullptr, nullptr));
  target->BeginDraw();
  EXPECT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
}

TEST(StandInRenderTarget, FramePresentsClearFillAndStroke) {
  auto factory = MakeFactory();
  TestWindow window(64, 48);
  auto target = MakeTarget(factory.Get(), window.Handle(), 64, 48, 96.0f);
  ASSERT_TRUE(target);
  auto square = Square(factory.Get(), 10, 10, 20);
  auto red = Brush(target.Get(), Rgb(1, 0, 0));
  auto green = Brush(target.Get(), Rgb(0, 1, 0));
  ASSERT_TRUE(square && red && green);
  target->BeginDraw();
  const D2D1_COLOR_F blue = Rgb(0, 0, 1);
  target->Clear(&blue);
  target->FillGeometry(square.Get(), red.Get(), nullptr);
  const D2D1_MATRIX_3X2_F moved = {1, 0, 0, 1, 30, 0};
  target->SetTransform(&moved);
  target->DrawGeometry(square.Get(), green.Get(), 2.0f, nullptr);
  ASSERT_EQ(S_OK, target->EndDraw(nullptr, nullptr));

  const auto pixels = window.Capture();
  auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * window.Width() + x]; };
  EXPECT_EQ(0x0000ffu, at(2, 2));
  EXPECT_EQ(0xff0000u, at(20, 20));
  EXPECT_EQ(0x00ff00u, at(40, 10));  // the outline's top edge spans y 9..11 from x 39 to 61
  EXPECT_EQ(0x0000ffu, at(50, 20));  // inside the outline
  EXPECT_EQ(400, CountPixels(pixels, 0xff0000u));
  EXPECT_EQ(22 * 22 - 18 * 18, CountPixels(pixels, 0x00ff00u));
}

// White drawn on black leaves each pixel's coverage in its brightness.
double CoveredArea(const std::vector<std::uint32_t>& pixels) {
  double area = 0;
  for (const auto p : pixels) area += ((p >> 16) & 0xffu) / 255.0;
  return area;
}

TEST(StandInRenderTarget, ShapeCallsCoverTheirArea) {
  auto factory = MakeFactory();
  TestWindow window(120, 100);
  auto target = MakeTarget(factory.Get(), window.Handle(), 120, 100, 96.0f);
  ASSERT_TRUE(target);
  auto white = Brush(target.Get(), Rgb(1, 1, 1));
  ASSERT_TRUE(white);
  const D2D1_RECT_F rect = {10.5f, 20, 70, 50.25f};
  const D2D1_ELLIPSE ellipse = {{60, 50}, 40, 25};
  // Ramanujan's perimeter; a stroke around a convex outline covers perimeter x width when the
  // outline bends no tighter than half the width.
  const double a = 40, b = 25;
  const double perimeter = std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
  struct Case {
    const char* name;
    std::function<void(ID2D1RenderTarget*, ID2D1Brush*)> draw;
    double area;
  };
  const Case cases[] = {
      {"FillRectangle",
       [&](ID2D1RenderTarget* t, ID2D1Brush* brush) { t->FillRectangle(&rect, brush); },
       59.5 * 30.25},
      // Mitered corners: the outer rectangle less the inner one.
      {"DrawRectangle",
       [&](ID2D1RenderTarget* t, ID2D1Brush* brush) { t->DrawRectangle(&rect, brush, 4, nullptr); },
       63.5 * 34.25 - 55.5 * 26.25},
      // Flat ends: length x width.
      {"DrawLine",
       [](ID2D1RenderTarget* t, ID2D1Brush* brush) {
         t->DrawLine({10, 10}, {110, 60}, brush, 3, nullptr);
       },
       std::sqrt(100.0 * 100 + 50 * 50) * 3},
      {"FillEllipse",
       [&](ID2D1RenderTarget* t, ID2D1Brush* brush) { t->FillEllipse(&ellipse, brush); },
       std::numbers::pi * a * b},
      {"DrawEllipse",
       [&](ID2D1RenderTarget* t, ID2D1Brush* brush) {
         t->DrawEllipse(&ellipse, brush, 4, nullptr);
       },
       perimeter * 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target->BeginDraw();
    const D2D1_COLOR_F black = Rgb(0, 0, 0);
    target->Clear(&black);
    c.draw(target.Get(), white.Get());
    ASSERT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
    EXPECT_NEAR(c.area, CoveredArea(window.Capture()), c.area * 0.02);
  }
}

TEST(StandInRenderTarget, AHundredDipSquareCoversAHundredAndTwentyFivePixelsAt120Dpi) {
  auto factory = MakeFactory();
  TestWindow window(160, 160);
  auto target = MakeTarget(factory.Get(), window.Handle(), 160, 160, 120.0f);
  ASSERT_TRUE(target);
  auto square = Square(factory.Get(), 8, 8, 100);
  auto white = Brush(target.Get(), Rgb(1, 1, 1));
  target->BeginDraw();
  const D2D1_COLOR_F black = Rgb(0, 0, 0);
  target->Clear(&black);
  target->FillGeometry(square.Get(), white.Get(), nullptr);
  ASSERT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
  const auto pixels = window.Capture();
  EXPECT_EQ(125 * 125, CountPixels(pixels, 0xffffffu));
  EXPECT_EQ(0xffffffu, pixels[10 * 160 + 10]);
  EXPECT_EQ(0x000000u, pixels[10 * 160 + 9]);
}

TEST(StandInRenderTarget, DesktopDpiSetsTheDefaultScale) {
  // A DPI-aware process sees the screen's true DPI (96 or 120 in the test prefixes).
  SetProcessDPIAware();
  auto factory = MakeFactory();
  FLOAT dpi = 0, unused = 0;
  factory->GetDesktopDpi(&dpi, &unused);
  TestWindow window(200, 200);
  auto target = MakeTarget(factory.Get(), window.Handle(), 200, 200);
  ASSERT_TRUE(target);
  auto square = Square(factory.Get(), 0, 0, 100);
  auto white = Brush(target.Get(), Rgb(1, 1, 1));
  target->BeginDraw();
  const D2D1_COLOR_F black = Rgb(0, 0, 0);
  target->Clear(&black);
  target->FillGeometry(square.Get(), white.Get(), nullptr);
  ASSERT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
  const int side = static_cast<int>(std::lround(100 * dpi / 96));
  EXPECT_EQ(side * side, CountPixels(window.Capture(), 0xffffffu)) << "at " << dpi << " DPI";
}

// Clears a window holding a white child control to magenta; returns what the child's area
// shows afterwards, and its colour before the frame.
std::vector<std::uint32_t> ClearAroundAChild(DWORD parentStyle, std::uint32_t* childColour) {
  auto factory = MakeFactory();
  TestWindow window(80, 60, parentStyle);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 10, 10, 30,
                               20, window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(child);
  d2d1test::PumpMessages();
  *childColour = window.Capture()[15 * 80 + 20];
  auto target = MakeTarget(factory.Get(), window.Handle(), 80, 60, 96.0f);
  target->BeginDraw();
  const D2D1_COLOR_F magenta = Rgb(1, 0, 1);
  target->Clear(&magenta);
  target->EndDraw(nullptr, nullptr);
  const auto after = window.Capture();
  EXPECT_EQ(0xff00ffu, after[5 * 80 + 5]);
  std::vector<std::uint32_t> childArea;
  for (int y = 10; y < 30; ++y) {
    for (int x = 10; x < 40; ++x) childArea.push_back(after[y * 80 + x]);
  }
  return childArea;
}

TEST(StandInRenderTarget, ChildControlsOfAClippingWindowStayUntouched) {
  std::uint32_t childColour = 0;
  const auto clipped = ClearAroundAChild(WS_CLIPCHILDREN, &childColour);
  EXPECT_NE(0xff00ffu, childColour);
  EXPECT_EQ(static_cast<int>(clipped.size()), CountPixels(clipped, childColour));
  // Without the style the frame covers the child: the capture does see what the frame paints.
  const auto unclipped = ClearAroundAChild(0, &childColour);
  EXPECT_EQ(static_cast<int>(unclipped.size()), CountPixels(unclipped, 0xff00ffu));
}

// Paints the whole client area in one colour behind the render target's back, as another
// program drawing over the window would; the window is not told.
void Scribble(HWND window, COLORREF colour) {
  HDC dc = GetDC(window);
  RECT client{};
  GetClientRect(window, &client);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

TEST(StandInRenderTarget, PresentsWhatChangedAndEverythingOnceTheWindowLostItsPicture) {
  auto factory = MakeFactory();
  TestWindow window(160, 96);
  auto target = MakeTarget(factory.Get(), window.Handle(), 160, 96, 96.0f);
  ASSERT_TRUE(target);
  auto red = Brush(target.Get(), Rgb(1, 0, 0));
  auto topLeft = Square(factory.Get(), 4, 4, 16);
  auto bottomRight = Square(factory.Get(), 130, 70, 16);
  const auto frame = [&](ID2D1Geometry* square) {
    target->BeginDraw();
    const D2D1_COLOR_F blue = Rgb(0, 0, 1);
    target->Clear(&blue);
    target->FillGeometry(square, red.Get(), nullptr);
    return target->EndDraw(nullptr, nullptr);
  };
  const auto at = [&](int x, int y) { return window.Capture()[static_cast<size_t>(y) * 160 + x]; };
  ASSERT_EQ(S_OK, frame(topLeft.Get()));
  EXPECT_EQ(0xff0000u, at(10, 10));
  EXPECT_EQ(0x0000ffu, at(80, 48));

  // The same frame again gives the window nothing: the scribble stays.
  Scribble(window.Handle(), RGB(0, 255, 0));
  ASSERT_EQ(S_OK, frame(topLeft.Get()));
  EXPECT_EQ(0x00ff00u, at(10, 10));
  EXPECT_EQ(160 * 96, CountPixels(window.Capture(), 0x00ff00u));

  // The square moves: where it was and where it is now are given anew, the middle is not.
  ASSERT_EQ(S_OK, frame(bottomRight.Get()));
  const auto moved = window.Capture();
  EXPECT_EQ(0x0000ffu, moved[10 * 160 + 10]);
  EXPECT_EQ(0xff0000u, moved[78 * 160 + 138]);
  EXPECT_EQ(0x0000ffu, moved[78 * 160 + 129]);
  EXPECT_EQ(0x00ff00u, moved[48 * 160 + 80]);
  EXPECT_EQ(16 * 16, CountPixels(moved, 0xff0000u));

  // The system asks for an erase when the window's pixels were lost; the next frame, unchanged,
  // gives the window everything.
  RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  d2d1test::PumpMessages();
  ASSERT_EQ(S_OK, frame(bottomRight.Get()));
  const auto restored = window.Capture();
  EXPECT_EQ(16 * 16, CountPixels(restored, 0xff0000u));
  EXPECT_EQ(160 * 96 - 16 * 16, CountPixels(restored, 0x0000ffu));

  // Another target presents to the same window; the first one's next frame, unchanged, again
  // gives the window everything.
  {
    auto other = MakeTarget(factory.Get(), window.Handle(), 160, 96, 96.0f);
    ASSERT_TRUE(other);
    other->BeginDraw();
    const D2D1_COLOR_F green = Rgb(0, 1, 0);
    other->Clear(&green);
    ASSERT_EQ(S_OK, other->EndDraw(nullptr, nullptr));
    ASSERT_EQ(160 * 96, CountPixels(window.Capture(), 0x00ff00u));
  }
  ASSERT_EQ(S_OK, frame(bottomRight.Get()));
  const auto regained = window.Capture();
  EXPECT_EQ(16 * 16, CountPixels(regained, 0xff0000u));
  EXPECT_EQ(160 * 96 - 16 * 16, CountPixels(regained, 0x0000ffu));
}

TEST(StandInRenderTarget, DeviceLossSwitchFailsTheChosenFrames) {
  auto factory = MakeFactory();
  TestWindow window(16, 16);
  auto target = MakeTarget(factory.Get(), window.Handle(), 16, 16);
  ASSERT_TRUE(target);
  SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", L"every:3");
  int lost = 0, lastLost = -10;
  for (int frame = 0; frame < 9; ++frame) {
    target->BeginDraw();
    const HRESULT result = target->EndDraw(nullptr, nullptr);
    if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
      if (lost > 0) {
        EXPECT_EQ(3, frame - lastLost);
      }
      ++lost;
      lastLost = frame;
    } else {
      EXPECT_EQ(S_OK, result);
    }
  }
  EXPECT_EQ(3, lost);
  SetEnvironmentVariableW(L"D2PIE_D2D1_DEVICE_LOSS", nullptr);
  for (int frame = 0; frame < 4; ++frame) {
    target->BeginDraw();
    EXPECT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
  }
}

}  // namespace
