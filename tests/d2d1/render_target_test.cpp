// The window render target under a real window: creation, state, sizes and DPI, window state,
// what a frame puts on the screen, and the frame's error state (misuse, and the calls the
// stand-in does not implement).

#include <dwrite.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>

#include "d2d1_test_support.h"
#include "tests/support/records.h"

namespace {

using d2d1test::Brush;
using d2d1test::Canvas;
using d2d1test::ComPtr;
using d2d1test::CountPixels;
using d2d1test::MakeTarget;
using d2d1test::Rgb;
using d2d1test::Square;
using d2d1test::TestWindow;

TEST(StandInRenderTarget, CreationChecksItsArguments) {
  auto factory = d2d1test::MakeFactory();
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
  ASSERT_MADE(canvas, Canvas(32, 32, 0.0f));
  const auto& target = canvas.target;
  ComPtr<ID2D1RenderTarget> renderTarget;
  ComPtr<ID2D1Resource> resource;
  ComPtr<ID2D1BitmapRenderTarget> bitmapTarget;
  EXPECT_EQ(S_OK, target.As(&renderTarget));
  EXPECT_EQ(S_OK, target.As(&resource));
  EXPECT_EQ(E_NOINTERFACE, target.As(&bitmapTarget));

  const D2D1_COLOR_F color = {0.25f, 0.5f, 0.75f, 1.0f};
  const D2D1_BRUSH_PROPERTIES brushProperties = {0.5f, {{{2, 0, 0, 2, 3, 4}}}};
  ComPtr<ID2D1SolidColorBrush> brush;
  ASSERT_EQ(S_OK, target->CreateSolidColorBrush(&color, &brushProperties, &brush));
  ComPtr<ID2D1Brush> plain;
  EXPECT_EQ(S_OK, brush.As(&plain));
  EXPECT_EQ(S_OK, brush.As(&resource));
  EXPECT_FLOAT_EQ(0.5f, brush->GetOpacity());
  D2D1_MATRIX_3X2_F transform;
  brush->GetTransform(&transform);
  EXPECT_EQ(brushProperties.transform, transform);
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

TEST(StandInRenderTarget, KeepsItsStateInsideAndOutsideFrames) {
  ASSERT_MADE(canvas, Canvas(32, 32, 0.0f));
  const auto& target = canvas.target;
  EXPECT_EQ(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE, target->GetAntialiasMode());
  target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
  EXPECT_EQ(D2D1_ANTIALIAS_MODE_ALIASED, target->GetAntialiasMode());
  D2D1_MATRIX_3X2_F matrix;
  target->GetTransform(&matrix);
  EXPECT_EQ((D2D1_MATRIX_3X2_F{{{1, 0, 0, 1, 0, 0}}}), matrix);
  const D2D1_MATRIX_3X2_F moved = {{{1, 0, 0, 1, 7, -3}}};
  target->SetTransform(&moved);
  target->GetTransform(&matrix);
  EXPECT_EQ(moved, matrix);

  // Text state is kept, though the stand-in draws no text; none of it fails a frame.
  target->SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE_ALIASED);
  EXPECT_EQ(D2D1_TEXT_ANTIALIAS_MODE_ALIASED, target->GetTextAntialiasMode());
  ComPtr<IDWriteFactory> writeFactory;
  ASSERT_EQ(S_OK, DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                      reinterpret_cast<IUnknown**>(writeFactory.GetAddressOf())));
  ComPtr<IDWriteRenderingParams> params, kept;
  ASSERT_EQ(S_OK, writeFactory->CreateRenderingParams(&params));
  target->BeginDraw();
  target->SetTextRenderingParams(params.Get());
  target->GetTextRenderingParams(&kept);
  EXPECT_EQ(params.Get(), kept.Get());
  target->SetTextRenderingParams(nullptr);
  target->GetTextRenderingParams(kept.ReleaseAndGetAddressOf());
  EXPECT_EQ(nullptr, kept.Get());
  target->SetTags(3, 4);
  D2D1_TAG tag1 = 0, tag2 = 0;
  target->GetTags(&tag1, &tag2);
  EXPECT_EQ(3u, tag1);
  EXPECT_EQ(4u, tag2);
  EXPECT_EQ(S_OK, target->EndDraw(&tag1, &tag2));
  EXPECT_EQ(0u, tag1 + tag2);
}

TEST(StandInRenderTarget, SizesFollowPixelsAndDpi) {
  ASSERT_MADE(canvas, Canvas(200, 100, 0.0f));  // DPI 0: the desktop's
  const auto& target = canvas.target;
  FLOAT desktopX = 0, desktopY = 0;
  canvas.factory->GetDesktopDpi(&desktopX, &desktopY);
  FLOAT dpiX = 0, dpiY = 0;
  target->GetDpi(&dpiX, &dpiY);
  EXPECT_FLOAT_EQ(desktopX, dpiX);
  EXPECT_FLOAT_EQ(desktopY, dpiY);
  EXPECT_EQ((D2D1_SIZE_U{200, 100}), target->GetPixelSize());
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
  EXPECT_EQ(bigger, target->GetPixelSize());
  EXPECT_EQ(E_INVALIDARG, target->Resize(nullptr));

  auto explicitDpi = MakeTarget(canvas.factory.Get(), canvas.window.Handle(), 240, 120, 120.0f);
  ASSERT_TRUE(explicitDpi);
  EXPECT_FLOAT_EQ(192, explicitDpi->GetSize().width);
  EXPECT_FLOAT_EQ(96, explicitDpi->GetSize().height);
}

TEST(StandInRenderTarget, RefusesFramesLargerThanItsMaximumAndKeepsTheOldOne) {
  ASSERT_MADE(canvas, Canvas(64, 48, 0.0f));
  const auto& target = canvas.target;
  const UINT32 maximum = target->GetMaximumBitmapSize();
  EXPECT_GE(maximum, 8192u);

  const D2D1_SIZE_U sizes[] = {
      {65535, 65535}, {maximum + 1, 1}, {1, maximum + 1}, {maximum, maximum}};
  for (const D2D1_SIZE_U& size : sizes) {
    EXPECT_EQ(static_cast<HRESULT>(D2DERR_MAX_TEXTURE_SIZE_EXCEEDED), target->Resize(&size));
    EXPECT_EQ((D2D1_SIZE_U{64, 48}), target->GetPixelSize());
  }
  const D2D1_SIZE_U widest = {maximum, 2};
  EXPECT_EQ(S_OK, target->Resize(&widest));

  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  const D2D1_HWND_RENDER_TARGET_PROPERTIES huge = {
      canvas.window.Handle(), {65535, 65535}, D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> refused;
  EXPECT_EQ(static_cast<HRESULT>(D2DERR_MAX_TEXTURE_SIZE_EXCEEDED),
            canvas.factory->CreateHwndRenderTarget(&properties, &huge, &refused));
  EXPECT_EQ(nullptr, refused.Get());
}

TEST(StandInRenderTarget, ReportsOcclusionWhileMinimisedOrHidden) {
  ASSERT_MADE(canvas, Canvas(40, 40, 0.0f, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  const auto& target = canvas.target;
  const HWND window = canvas.window.Handle();
  EXPECT_EQ(D2D1_WINDOW_STATE_NONE, target->CheckWindowState());
  ShowWindow(window, SW_MINIMIZE);
  d2d1test::PumpMessages();
  EXPECT_EQ(D2D1_WINDOW_STATE_OCCLUDED, target->CheckWindowState());
  ShowWindow(window, SW_RESTORE);
  d2d1test::PumpMessages();
  EXPECT_EQ(D2D1_WINDOW_STATE_NONE, target->CheckWindowState());
  ShowWindow(window, SW_HIDE);
  EXPECT_EQ(D2D1_WINDOW_STATE_OCCLUDED, target->CheckWindowState());
}

// ---- What frames put on the screen

TEST(StandInRenderTarget, FramePresentsClearFillAndStroke) {
  ASSERT_MADE(canvas, Canvas(64, 48));
  auto square = Square(canvas.factory.Get(), 10, 10, 20);
  auto red = Brush(canvas.target.Get(), Rgb(1, 0, 0));
  auto green = Brush(canvas.target.Get(), Rgb(0, 1, 0));
  ASSERT_TRUE(square && red && green);
  ASSERT_EQ(S_OK, canvas.Frame(Rgb(0, 0, 1), [&](ID2D1RenderTarget* target) {
    target->FillGeometry(square.Get(), red.Get(), nullptr);
    const D2D1_MATRIX_3X2_F moved = {{{1, 0, 0, 1, 30, 0}}};
    target->SetTransform(&moved);
    target->DrawGeometry(square.Get(), green.Get(), 2.0f, nullptr);
  }));

  const auto pixels = canvas.window.Capture();
  EXPECT_EQ(0x0000ffu, canvas.At(pixels, 2, 2));
  EXPECT_EQ(0xff0000u, canvas.At(pixels, 20, 20));
  EXPECT_EQ(0x00ff00u, canvas.At(pixels, 40, 10));  // the outline's top edge: y 9..11, x 39..61
  EXPECT_EQ(0x0000ffu, canvas.At(pixels, 50, 20));  // inside the outline
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
  ASSERT_MADE(canvas, Canvas(120, 100));
  ASSERT_MADE(white, Brush(canvas.target.Get(), Rgb(1, 1, 1)));
  ID2D1Brush* w = white.Get();
  const D2D1_RECT_F rect = {10.5f, 20, 70, 50.25f};
  const D2D1_ELLIPSE ellipse = {{60, 50}, 40, 25};
  const D2D1_POINT_2F from = {10, 10}, to = {110, 60};
  // Ramanujan's perimeter; a stroke around a convex outline covers perimeter x width when the
  // outline bends no tighter than half the width.
  const double a = 40, b = 25;
  const double perimeter = std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
  struct Case {
    const char* name;
    std::function<void(ID2D1RenderTarget*)> draw;
    double area;
  };
  const Case cases[] = {
      {"FillRectangle", [&](ID2D1RenderTarget* t) { t->FillRectangle(&rect, w); }, 59.5 * 30.25},
      // Mitered corners: the outer rectangle less the inner one.
      {"DrawRectangle", [&](ID2D1RenderTarget* t) { t->DrawRectangle(&rect, w, 4, nullptr); },
       63.5 * 34.25 - 55.5 * 26.25},
      // Flat ends: length x width.
      {"DrawLine", [&](ID2D1RenderTarget* t) { t->DrawLine(from, to, w, 3, nullptr); },
       std::sqrt(100.0 * 100 + 50 * 50) * 3},
      {"FillEllipse", [&](ID2D1RenderTarget* t) { t->FillEllipse(&ellipse, w); },
       std::numbers::pi * a * b},
      {"DrawEllipse", [&](ID2D1RenderTarget* t) { t->DrawEllipse(&ellipse, w, 4, nullptr); },
       perimeter * 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(S_OK, canvas.Frame(Rgb(0, 0, 0), c.draw));
    EXPECT_NEAR(c.area, CoveredArea(canvas.window.Capture()), c.area * 0.02);
  }
}

TEST(StandInRenderTarget, AHundredDipSquareCoversAHundredAndTwentyFivePixelsAt120Dpi) {
  ASSERT_MADE(canvas, Canvas(160, 160, 120.0f));
  auto square = Square(canvas.factory.Get(), 8, 8, 100);
  auto white = Brush(canvas.target.Get(), Rgb(1, 1, 1));
  ASSERT_EQ(S_OK, canvas.Frame(Rgb(0, 0, 0), [&](ID2D1RenderTarget* target) {
    target->FillGeometry(square.Get(), white.Get(), nullptr);
  }));
  const auto pixels = canvas.window.Capture();
  EXPECT_EQ(125 * 125, CountPixels(pixels, 0xffffffu));
  EXPECT_EQ(0xffffffu, canvas.At(pixels, 10, 10));
  EXPECT_EQ(0x000000u, canvas.At(pixels, 9, 10));
}

TEST(StandInRenderTarget, DesktopDpiSetsTheDefaultScale) {
  // A DPI-aware process sees the screen's true DPI (96 or 120 in the test prefixes).
  SetProcessDPIAware();
  ASSERT_MADE(canvas, Canvas(200, 200, 0.0f));
  FLOAT dpi = 0, unused = 0;
  canvas.factory->GetDesktopDpi(&dpi, &unused);
  auto square = Square(canvas.factory.Get(), 0, 0, 100);
  auto white = Brush(canvas.target.Get(), Rgb(1, 1, 1));
  ASSERT_EQ(S_OK, canvas.Frame(Rgb(0, 0, 0), [&](ID2D1RenderTarget* target) {
    target->FillGeometry(square.Get(), white.Get(), nullptr);
  }));
  const int side = static_cast<int>(std::lround(100 * dpi / 96));
  EXPECT_EQ(side * side, CountPixels(canvas.window.Capture(), 0xffffffu)) << "at " << dpi << " DPI";
}

TEST(StandInRenderTarget, ChildControlsOfAClippingWindowStayUntouched) {
  // Clears a window holding a white child control to magenta; the child's colour before, and
  // its area after.
  for (const DWORD parentStyle : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
    SCOPED_TRACE(parentStyle == 0 ? "unclipped" : "clipped");
    Canvas canvas(80, 60, 96.0f, parentStyle);
    HWND child =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 10, 10, 30, 20,
                        canvas.window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(child);
    d2d1test::PumpMessages();
    const std::uint32_t childColour = canvas.At(canvas.window.Capture(), 20, 15);
    canvas.Frame(Rgb(1, 0, 1), [](ID2D1RenderTarget*) {});
    const auto after = canvas.window.Capture();
    EXPECT_EQ(0xff00ffu, canvas.At(after, 5, 5));
    std::vector<std::uint32_t> childArea;
    for (int y = 10; y < 30; ++y) {
      for (int x = 10; x < 40; ++x) childArea.push_back(canvas.At(after, x, y));
    }
    if (parentStyle == WS_CLIPCHILDREN) {
      EXPECT_NE(0xff00ffu, childColour);
      EXPECT_EQ(static_cast<int>(childArea.size()), CountPixels(childArea, childColour));
    } else {
      // Without the style the frame covers the child: the capture does see what the frame paints.
      EXPECT_EQ(static_cast<int>(childArea.size()), CountPixels(childArea, 0xff00ffu));
    }
  }
}

// Paints the whole client area in one colour behind the render target's back, as another
// program drawing over the window would; the window is not told.
void Scribble(HWND window, COLORREF colour) {
  HDC dc = GetDC(window);
  const RECT client = win32::ClientBounds(window);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

TEST(StandInRenderTarget, PresentsWhatChangedAndEverythingOnceTheWindowLostItsPicture) {
  ASSERT_MADE(canvas, Canvas(160, 96));
  auto red = Brush(canvas.target.Get(), Rgb(1, 0, 0));
  auto topLeft = Square(canvas.factory.Get(), 4, 4, 16);
  auto bottomRight = Square(canvas.factory.Get(), 130, 70, 16);
  const auto frame = [&](ID2D1Geometry* square) {
    return canvas.Frame(Rgb(0, 0, 1), [&](ID2D1RenderTarget* target) {
      target->FillGeometry(square, red.Get(), nullptr);
    });
  };
  const auto at = [&](int x, int y) { return canvas.At(canvas.window.Capture(), x, y); };
  ASSERT_EQ(S_OK, frame(topLeft.Get()));
  EXPECT_EQ(0xff0000u, at(10, 10));
  EXPECT_EQ(0x0000ffu, at(80, 48));

  // The same frame again gives the window nothing: the scribble stays.
  Scribble(canvas.window.Handle(), RGB(0, 255, 0));
  ASSERT_EQ(S_OK, frame(topLeft.Get()));
  EXPECT_EQ(0x00ff00u, at(10, 10));
  EXPECT_EQ(160 * 96, CountPixels(canvas.window.Capture(), 0x00ff00u));

  // The square moves: where it was and where it is now are given anew, the middle is not.
  ASSERT_EQ(S_OK, frame(bottomRight.Get()));
  const auto moved = canvas.window.Capture();
  EXPECT_EQ(0x0000ffu, canvas.At(moved, 10, 10));
  EXPECT_EQ(0xff0000u, canvas.At(moved, 138, 78));
  EXPECT_EQ(0x0000ffu, canvas.At(moved, 129, 78));
  EXPECT_EQ(0x00ff00u, canvas.At(moved, 80, 48));
  EXPECT_EQ(16 * 16, CountPixels(moved, 0xff0000u));

  // The window's pixels are lost twice: the system asks for an erase, and another target
  // presents to the same window. Each time the next frame, unchanged, gives it everything.
  const std::function<void()> losses[] = {
      [&] {
        RedrawWindow(canvas.window.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        d2d1test::PumpMessages();
      },
      [&] {
        auto other = MakeTarget(canvas.factory.Get(), canvas.window.Handle(), 160, 96, 96.0f);
        ASSERT_TRUE(other);
        other->BeginDraw();
        const D2D1_COLOR_F green = Rgb(0, 1, 0);
        other->Clear(&green);
        ASSERT_EQ(S_OK, other->EndDraw(nullptr, nullptr));
        ASSERT_EQ(160 * 96, CountPixels(canvas.window.Capture(), 0x00ff00u));
      },
  };
  for (const auto& lose : losses) {
    lose();
    ASSERT_EQ(S_OK, frame(bottomRight.Get()));
    const auto restored = canvas.window.Capture();
    EXPECT_EQ(16 * 16, CountPixels(restored, 0xff0000u));
    EXPECT_EQ(160 * 96 - 16 * 16, CountPixels(restored, 0x0000ffu));
  }
}

TEST(StandInRenderTarget, DeviceLossSwitchFailsTheChosenFrames) {
  ASSERT_MADE(canvas, Canvas(16, 16, 0.0f));
  const auto& target = canvas.target;
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

// ---- The frame's error state

// Frames on a 40 x 30 canvas: blue, a red square, then the calls under test, then a green square
// that a failed frame no longer draws.
class StandInFrameErrors : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t_ && redSquare_ && greenSquare_ && red_ && green_); }

  HRESULT Frame(const std::function<void()>& calls, D2D1_TAG* tag1 = nullptr,
                D2D1_TAG* tag2 = nullptr) {
    return canvas_.Frame(
        Rgb(0, 0, 1),
        [&](ID2D1RenderTarget* target) {
          target->FillGeometry(redSquare_.Get(), red_.Get(), nullptr);
          calls();
          target->FillGeometry(greenSquare_.Get(), green_.Get(), nullptr);
        },
        tag1, tag2);
  }

  // What the last frame showed: its red and green pixels.
  void ExpectShown(int red, int green) {
    const auto pixels = canvas_.window.Capture();
    EXPECT_EQ(red, CountPixels(pixels, 0xff0000u));
    EXPECT_EQ(green, CountPixels(pixels, 0x00ff00u));
  }

  Canvas canvas_{40, 30};
  ID2D1RenderTarget* t_ = canvas_.target.Get();
  ComPtr<ID2D1PathGeometry> redSquare_ = Square(canvas_.factory.Get(), 2, 2, 10);
  ComPtr<ID2D1PathGeometry> greenSquare_ = Square(canvas_.factory.Get(), 20, 10, 10);
  ComPtr<ID2D1SolidColorBrush> red_ = Brush(t_, Rgb(1, 0, 0)), green_ = Brush(t_, Rgb(0, 1, 0));
};

TEST_F(StandInFrameErrors, AFailedCallFailsItsFrameWithItsTagsAndTheNextFrameDrawsAgain) {
  ID2D1RenderTarget* t = t_;
  ID2D1Brush* b = red_.Get();
  const D2D1_RECT_F rect = {1, 1, 9, 9};
  const D2D1_ROUNDED_RECT rounded = {rect, 2, 2};
  const D2D1_ELLIPSE ellipse = {{5, 5}, 3, 3};
  const D2D1_POINT_2F origin = {0, 0}, corner = {9, 9};
  // Not a stroke style at all: the stand-in makes none, and fails a call given one before it
  // would use it.
  int notAStyle = 0;
  auto* style = reinterpret_cast<ID2D1StrokeStyle*>(&notAStyle);
  const auto open = d2d1test::OpenNewPath(canvas_.factory.Get());
  ASSERT_TRUE(open.sink);
  constexpr auto kWrongState = static_cast<HRESULT>(D2DERR_WRONG_STATE);
  struct Case {
    const char* name;
    std::function<void()> call;
    HRESULT failure = E_NOTIMPL;
  };
  const Case cases[] = {
      // What the stand-in does not implement.
      {"DrawRoundedRectangle", [&] { t->DrawRoundedRectangle(&rounded, b, 1, nullptr); }},
      {"FillRoundedRectangle", [&] { t->FillRoundedRectangle(&rounded, b); }},
      {"FillMesh", [&] { t->FillMesh(nullptr, b); }},
      {"FillOpacityMask",
       [&] { t->FillOpacityMask(nullptr, b, D2D1_OPACITY_MASK_CONTENT_GRAPHICS, &rect, &rect); }},
      {"DrawBitmap",
       [&] { t->DrawBitmap(nullptr, &rect, 1, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &rect); }},
      {"DrawText",
       [&] {
         t->DrawText(L"x", 1, nullptr, &rect, b, D2D1_DRAW_TEXT_OPTIONS_NONE,
                     DWRITE_MEASURING_MODE_NATURAL);
       }},
      {"DrawTextLayout",
       [&] { t->DrawTextLayout(origin, nullptr, b, D2D1_DRAW_TEXT_OPTIONS_NONE); }},
      {"DrawGlyphRun", [&] { t->DrawGlyphRun(origin, nullptr, b, DWRITE_MEASURING_MODE_NATURAL); }},
      {"PushLayer and PopLayer",
       [&] {
         t->PushLayer(nullptr, nullptr);
         t->PopLayer();
       }},
      {"PushAxisAlignedClip and PopAxisAlignedClip",
       [&] {
         t->PushAxisAlignedClip(&rect, D2D1_ANTIALIAS_MODE_ALIASED);
         t->PopAxisAlignedClip();
       }},
      {"SaveDrawingState", [&] { t->SaveDrawingState(nullptr); }},
      {"RestoreDrawingState", [&] { t->RestoreDrawingState(nullptr); }},
      {"FillGeometry with an opacity brush", [&] { t->FillGeometry(redSquare_.Get(), b, b); }},
      {"DrawGeometry with a stroke style", [&] { t->DrawGeometry(redSquare_.Get(), b, 1, style); }},
      {"DrawLine with a stroke style", [&] { t->DrawLine(origin, corner, b, 1, style); }},
      {"DrawRectangle with a stroke style", [&] { t->DrawRectangle(&rect, b, 1, style); }},
      {"DrawEllipse with a stroke style", [&] { t->DrawEllipse(&ellipse, b, 1, style); }},
      // Misuse, which Direct2D fails the same way.
      {"an unclosed geometry", [&] { t->FillGeometry(open.path.Get(), b, nullptr); }, kWrongState},
      {"BeginDraw twice", [&] { t->BeginDraw(); }, kWrongState},
      {"no brush", [&] { t->FillRectangle(&rect, nullptr); }, E_INVALIDARG},
      {"no rectangle", [&] { t->FillRectangle(nullptr, b); }, E_INVALIDARG},
  };
  D2D1_TAG tag1 = 0, tag2 = 0;
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const auto tagged = [&] {
      t->SetTags(7, i);
      cases[i].call();
      t->SetTags(8, 8);
    };
    EXPECT_EQ(cases[i].failure, Frame(tagged, &tag1, &tag2));
    EXPECT_EQ(7u, tag1);  // the tags set when the frame failed
    EXPECT_EQ(i, tag2);
    ExpectShown(100, 0);
    EXPECT_EQ(S_OK, Frame([] {}, &tag1, &tag2));
    EXPECT_EQ(0u, tag1 + tag2);
    ExpectShown(100, 100);
  }
}

TEST_F(StandInFrameErrors, CallsOutsideAFrameAndFlush) {
  ID2D1RenderTarget* target = t_;
  EXPECT_EQ(D2DERR_WRONG_STATE, target->EndDraw(nullptr, nullptr));
  target->BeginDraw();
  EXPECT_EQ(S_OK, target->EndDraw(nullptr, nullptr));
  EXPECT_EQ(D2DERR_WRONG_STATE, target->EndDraw(nullptr, nullptr));
  EXPECT_EQ(D2DERR_WRONG_STATE, target->Flush(nullptr, nullptr));

  // A drawing call outside a frame draws nothing and fails the next frame.
  target->FillGeometry(greenSquare_.Get(), green_.Get(), nullptr);
  EXPECT_EQ(D2DERR_WRONG_STATE, Frame([] {}));
  EXPECT_EQ(S_OK, Frame([] {}));
  ExpectShown(100, 100);

  // Flush reports the error state and clears it: drawing goes on.
  D2D1_TAG tag1 = 0, tag2 = 0;
  EXPECT_EQ(S_OK, Frame([&] {
              t_->SetTags(5, 6);
              t_->PopAxisAlignedClip();
              EXPECT_EQ(E_NOTIMPL, t_->Flush(&tag1, &tag2));
              EXPECT_EQ(5u, tag1);
              EXPECT_EQ(6u, tag2);
              EXPECT_EQ(S_OK, t_->Flush(&tag1, &tag2));
              EXPECT_EQ(0u, tag1 + tag2);
            }));
  ExpectShown(100, 100);
}

TEST(StandInRenderTarget, UnofferedCreationsAnswerNotImplementedAndNull) {
  ASSERT_MADE(canvas, Canvas(16, 16));
  const auto& t = canvas.target;
  const D2D1_SIZE_U size = {4, 4};
  const D2D1_BITMAP_PROPERTIES bitmap = {
      {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE}, 96, 96};
  const D2D1_GRADIENT_STOP stops[2] = {{0, Rgb(0, 0, 0)}, {1, Rgb(1, 1, 1)}};
  const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES linear = {{0, 0}, {1, 1}};
  const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES radial = {{0, 0}, {0, 0}, 1, 1};
  const D2D1_SIZE_F layerSize = {4, 4};
  d2d1test::ExpectNotImplemented({
      {"CreateBitmap", [&](auto& r) { return t->CreateBitmap(size, nullptr, 0, &bitmap, r); }},
      {"CreateBitmapFromWicBitmap",
       [&](auto& r) { return t->CreateBitmapFromWicBitmap(nullptr, &bitmap, r); }},
      {"CreateSharedBitmap",
       [&](auto& r) { return t->CreateSharedBitmap(__uuidof(ID2D1Bitmap), nullptr, &bitmap, r); }},
      {"CreateBitmapBrush",
       [&](auto& r) { return t->CreateBitmapBrush(nullptr, nullptr, nullptr, r); }},
      {"CreateGradientStopCollection",
       [&](auto& r) {
         return t->CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP,
                                                r);
       }},
      {"CreateLinearGradientBrush",
       [&](auto& r) { return t->CreateLinearGradientBrush(&linear, nullptr, nullptr, r); }},
      {"CreateRadialGradientBrush",
       [&](auto& r) { return t->CreateRadialGradientBrush(&radial, nullptr, nullptr, r); }},
      {"CreateCompatibleRenderTarget",
       [&](auto& r) {
         return t->CreateCompatibleRenderTarget(nullptr, nullptr, nullptr,
                                                D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, r);
       }},
      {"CreateLayer", [&](auto& r) { return t->CreateLayer(&layerSize, r); }},
      {"CreateMesh", [&](auto& r) { return t->CreateMesh(r); }},
  });
}

}  // namespace
