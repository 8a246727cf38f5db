#include "d2d1_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace d2d1test {

ComPtr<ID2D1Factory> MakeFactory() {
  ComPtr<ID2D1Factory> factory;
  D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                    reinterpret_cast<void**>(factory.GetAddressOf()));
  return factory;
}

ComPtr<ID2D1PathGeometry> MakePath(ID2D1Factory* factory,
                                   const std::function<void(ID2D1GeometrySink*)>& write) {
  ComPtr<ID2D1PathGeometry> path;
  if (factory == nullptr || FAILED(factory->CreatePathGeometry(&path))) return nullptr;
  ComPtr<ID2D1GeometrySink> sink;
  if (FAILED(path->Open(&sink))) return nullptr;
  write(sink.Get());
  if (FAILED(sink->Close())) return nullptr;
  return path;
}

OpenPath OpenNewPath(ID2D1Factory* factory) {
  OpenPath open;
  EXPECT_EQ(S_OK, factory->CreatePathGeometry(&open.path));
  if (open.path) {
    EXPECT_EQ(S_OK, open.path->Open(&open.sink));
  }
  if (!open.sink) open.path.Reset();
  return open;
}

bool FillContains(ID2D1Geometry* geometry, D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* transform,
                  float tolerance) {
  BOOL inside = FALSE;
  EXPECT_EQ(S_OK, geometry->FillContainsPoint(point, transform, tolerance, &inside))
      << "at (" << point.x << ", " << point.y << ")";
  return inside != FALSE;
}

void ExpectBounds(const D2D1_RECT_F& bounds, double left, double top, double right, double bottom,
                  double tolerance) {
  EXPECT_NEAR(left, bounds.left, tolerance);
  EXPECT_NEAR(top, bounds.top, tolerance);
  EXPECT_NEAR(right, bounds.right, tolerance);
  EXPECT_NEAR(bottom, bounds.bottom, tolerance);
}

namespace {

const wchar_t kClassName[] = L"D2d1StandInTestWindow";

void RegisterTestClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassW(&windowClass);
  registered = true;
}

}  // namespace

TestWindow::TestWindow(int clientWidth, int clientHeight, DWORD extraStyle)
    : width_(clientWidth), height_(clientHeight) {
  RegisterTestClass();
  const DWORD style = WS_POPUP | WS_VISIBLE | extraStyle;
  hwnd_ = CreateWindowExW(0, kClassName, L"stand-in test", style, 10, 10, clientWidth, clientHeight,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  PumpMessages();
}

TestWindow::~TestWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  PumpMessages();
}

std::vector<std::uint32_t> TestWindow::Capture() const {
  const HDC windowDc = GetDC(hwnd_);
  std::vector<std::uint32_t> pixels = win32::ReadPixels(windowDc, 0, 0, width_, height_);
  ReleaseDC(hwnd_, windowDc);
  return pixels;
}

ComPtr<ID2D1HwndRenderTarget> MakeTarget(ID2D1Factory* factory, HWND hwnd, UINT32 width,
                                         UINT32 height, float dpi) {
  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  properties.dpiX = dpi;  // the type, pixel format, usage and level are all the defaults (0)
  properties.dpiY = dpi;
  const D2D1_HWND_RENDER_TARGET_PROPERTIES hwndProperties = {
      hwnd, {width, height}, D2D1_PRESENT_OPTIONS_NONE};
  ComPtr<ID2D1HwndRenderTarget> target;
  if (factory != nullptr) factory->CreateHwndRenderTarget(&properties, &hwndProperties, &target);
  return target;
}

D2D1_COLOR_F Rgb(float r, float g, float b) { return {r, g, b, 1.0f}; }

ComPtr<ID2D1SolidColorBrush> Brush(ID2D1RenderTarget* target, D2D1_COLOR_F color) {
  ComPtr<ID2D1SolidColorBrush> brush;
  target->CreateSolidColorBrush(&color, nullptr, &brush);
  return brush;
}

int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb) {
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), rgb));
}

ComPtr<ID2D1PathGeometry> Polygon(ID2D1Factory* factory,
                                  std::initializer_list<D2D1_POINT_2F> points,
                                  D2D1_FIGURE_BEGIN begin, D2D1_FIGURE_END end) {
  return MakePath(factory, [&](ID2D1GeometrySink* sink) {
    sink->BeginFigure(*points.begin(), begin);
    for (auto p = points.begin() + 1; p != points.end(); ++p) sink->AddLine(*p);
    sink->EndFigure(end);
  });
}

ComPtr<ID2D1PathGeometry> Square(ID2D1Factory* factory, float left, float top, float size) {
  return Polygon(factory,
                 {{left, top}, {left + size, top}, {left + size, top + size}, {left, top + size}});
}

void ExpectNotImplemented(std::initializer_list<Creation> creations) {
  for (const auto& [name, create] : creations) {
    AnyResult result;
    EXPECT_EQ(E_NOTIMPL, create(result)) << name;
    EXPECT_TRUE(result.Null()) << name;
  }
}

Canvas::Canvas(int width, int height, float dpi, DWORD extraStyle)
    : factory(MakeFactory()),
      window(width, height, extraStyle),
      target(MakeTarget(factory.Get(), window.Handle(), static_cast<UINT32>(width),
                        static_cast<UINT32>(height), dpi)) {}

HRESULT Canvas::Frame(D2D1_COLOR_F background, const std::function<void(ID2D1RenderTarget*)>& draw,
                      D2D1_TAG* tag1, D2D1_TAG* tag2) {
  target->BeginDraw();
  target->Clear(&background);
  draw(target.Get());
  return target->EndDraw(tag1, tag2);
}

}  // namespace d2d1test
