// The factory, path geometry and sink as a program sees them through <d2d1.h>: creation,
// interface identity, the write-once life cycle and its error states.

#include <gtest/gtest.h>

#include "d2d1_test_support.h"
#include "platform/d2d1/d2d_convert.h"

namespace {

using d2d1test::ComPtr;
using d2d1test::MakeFactory;
using d2d1test::MakePath;

TEST(StandInFactory, IsTheStandInAndCreatesBothThreadingTypes) {
  ASSERT_GE(d2d1test::StandInLiveObjects(), 0) << "the loaded d2d1.dll is not the stand-in";
  for (const auto type : {D2D1_FACTORY_TYPE_SINGLE_THREADED, D2D1_FACTORY_TYPE_MULTI_THREADED}) {
    ComPtr<ID2D1Factory> factory;
    EXPECT_EQ(S_OK, D2D1CreateFactory(type, __uuidof(ID2D1Factory), nullptr,
                                      reinterpret_cast<void**>(factory.GetAddressOf())));
    EXPECT_NE(nullptr, factory.Get());
  }
}

TEST(StandInFactory, RefusesOtherInterfacesAndNullOutputs) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED,
                                             __uuidof(ID2D1RenderTarget), nullptr, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(E_POINTER, D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory),
                                         nullptr, nullptr));
}

TEST(StandInFactory, ReportsTheScreenDpi) {
  auto factory = MakeFactory();
  FLOAT x = 0, y = 0;
  factory->GetDesktopDpi(&x, &y);
  HDC screen = GetDC(nullptr);
  EXPECT_FLOAT_EQ(static_cast<FLOAT>(GetDeviceCaps(screen, LOGPIXELSX)), x);
  EXPECT_FLOAT_EQ(static_cast<FLOAT>(GetDeviceCaps(screen, LOGPIXELSY)), y);
  ReleaseDC(nullptr, screen);
}

TEST(StandInFactory, UnofferedCreationsAnswerNotImplementedAndNull) {
  auto factory = MakeFactory();
  const D2D1_RECT_F rect = {0, 0, 1, 1};
  const D2D1_ROUNDED_RECT rounded = {rect, 1, 1};
  const D2D1_ELLIPSE shape = {{0, 0}, 1, 1};
  const D2D1_RENDER_TARGET_PROPERTIES properties = {};
  ComPtr<ID2D1PathGeometry> path;
  ASSERT_EQ(S_OK, factory->CreatePathGeometry(&path));
  ID2D1Geometry* geometries[] = {path.Get()};
  const D2D1_MATRIX_3X2_F moved = standin::MakeMatrix(1, 0, 0, 1, 5, 5);
  auto* f = factory.Get();
  d2d1test::ExpectNotImplemented({
      {"CreateRectangleGeometry", [&](auto& r) { return f->CreateRectangleGeometry(&rect, r); }},
      {"CreateRoundedRectangleGeometry",
       [&](auto& r) { return f->CreateRoundedRectangleGeometry(&rounded, r); }},
      {"CreateEllipseGeometry", [&](auto& r) { return f->CreateEllipseGeometry(&shape, r); }},
      {"CreateGeometryGroup",
       [&](auto& r) { return f->CreateGeometryGroup(D2D1_FILL_MODE_WINDING, geometries, 1, r); }},
      {"CreateTransformedGeometry",
       [&](auto& r) { return f->CreateTransformedGeometry(path.Get(), &moved, r); }},
      {"CreateStrokeStyle", [&](auto& r) { return f->CreateStrokeStyle(nullptr, nullptr, 0, r); }},
      {"CreateDrawingStateBlock",
       [&](auto& r) { return f->CreateDrawingStateBlock(nullptr, nullptr, r); }},
      {"CreateWicBitmapRenderTarget",
       [&](auto& r) { return f->CreateWicBitmapRenderTarget(nullptr, &properties, r); }},
      {"CreateDxgiSurfaceRenderTarget",
       [&](auto& r) { return f->CreateDxgiSurfaceRenderTarget(nullptr, &properties, r); }},
      {"CreateDCRenderTarget", [&](auto& r) { return f->CreateDCRenderTarget(&properties, r); }},
  });
}

// QueryInterface must answer every interface of the inheritance chain with one identity.
template <typename Interface>
bool Answers(IUnknown* object) {
  ComPtr<Interface> answer;
  if (FAILED(object->QueryInterface(__uuidof(Interface), &answer)) || !answer) return false;
  ComPtr<IUnknown> identity1, identity2;
  object->QueryInterface(__uuidof(IUnknown), &identity1);
  answer->QueryInterface(__uuidof(IUnknown), &identity2);
  return identity1.Get() == identity2.Get();
}

TEST(StandInInterfaces, GeometryAndSinkAnswerTheirWholeChain) {
  auto factory = MakeFactory();
  EXPECT_TRUE(Answers<ID2D1Factory>(factory.Get()));
  EXPECT_FALSE(Answers<ID2D1Resource>(factory.Get()));

  ComPtr<ID2D1PathGeometry> path;
  ASSERT_EQ(S_OK, factory->CreatePathGeometry(&path));
  EXPECT_TRUE(Answers<ID2D1Geometry>(path.Get()));
  EXPECT_TRUE(Answers<ID2D1Resource>(path.Get()));
  EXPECT_TRUE(Answers<ID2D1PathGeometry>(path.Get()));
  EXPECT_FALSE(Answers<ID2D1RectangleGeometry>(path.Get()));
  ComPtr<ID2D1Factory> owner;
  path->GetFactory(&owner);
  EXPECT_EQ(factory.Get(), owner.Get());

  ComPtr<ID2D1GeometrySink> sink;
  ASSERT_EQ(S_OK, path->Open(&sink));
  EXPECT_TRUE(Answers<ID2D1SimplifiedGeometrySink>(sink.Get()));
  EXPECT_TRUE(Answers<ID2D1GeometrySink>(sink.Get()));
  EXPECT_FALSE(Answers<ID2D1Geometry>(sink.Get()));
  EXPECT_EQ(S_OK, sink->Close());
}

TEST(StandInPathGeometry, OpensOnceAndCountsFiguresAndSegments) {
  auto factory = MakeFactory();
  auto [path, sink] = d2d1test::OpenNewPath(factory.Get());
  ASSERT_TRUE(sink);
  ComPtr<ID2D1GeometrySink> second;
  EXPECT_EQ(D2DERR_WRONG_STATE, path->Open(&second));
  EXPECT_EQ(nullptr, second.Get());

  sink->SetSegmentFlags(D2D1_PATH_SEGMENT_NONE);  // the default, which the stand-in draws
  sink->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
  const D2D1_POINT_2F lines[2] = {{10, 0}, {10, 10}};
  sink->AddLines(lines, 2);
  sink->AddArc(d2d1test::Arc(0, 10, 5, 5));
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  sink->BeginFigure({20, 20}, D2D1_FIGURE_BEGIN_HOLLOW);
  const D2D1_BEZIER_SEGMENT cubic = {{25, 15}, {30, 25}, {35, 20}};
  sink->AddBezier(&cubic);
  const D2D1_QUADRATIC_BEZIER_SEGMENT quadratic = {{40, 10}, {45, 20}};
  sink->AddQuadraticBezier(&quadratic);
  sink->AddLine({50, 20});
  sink->EndFigure(D2D1_FIGURE_END_OPEN);

  UINT32 count = 99;
  EXPECT_EQ(D2DERR_WRONG_STATE, path->GetFigureCount(&count));
  EXPECT_EQ(S_OK, sink->Close());
  EXPECT_EQ(D2DERR_WRONG_STATE, path->Open(&second));
  EXPECT_EQ(S_OK, path->GetFigureCount(&count));
  EXPECT_EQ(2u, count);
  EXPECT_EQ(S_OK, path->GetSegmentCount(&count));
  EXPECT_EQ(6u, count);
}

TEST(StandInPathGeometry, RefusesQueriesBeforeItIsClosed) {
  auto factory = MakeFactory();
  ComPtr<ID2D1PathGeometry> path;
  ASSERT_EQ(S_OK, factory->CreatePathGeometry(&path));
  D2D1_RECT_F bounds;
  BOOL contains = TRUE;
  EXPECT_EQ(D2DERR_WRONG_STATE, path->GetBounds(nullptr, &bounds));
  EXPECT_EQ(D2DERR_WRONG_STATE, path->FillContainsPoint({0, 0}, nullptr, 0, &contains));
  EXPECT_FALSE(contains);

  ComPtr<ID2D1GeometrySink> sink;
  ASSERT_EQ(S_OK, path->Open(&sink));
  sink->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
  sink->AddLine({10, 0});
  sink->AddLine({10, 10});
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  EXPECT_EQ(D2DERR_WRONG_STATE, path->FillContainsPoint({8, 2}, nullptr, 0, &contains));
  ASSERT_EQ(S_OK, sink->Close());
  EXPECT_EQ(S_OK, path->FillContainsPoint({8, 2}, nullptr, 0, &contains));
  EXPECT_TRUE(contains);
}

TEST(StandInGeometrySink, MisuseFailsAtCloseAndUseAfterCloseIsIgnored) {
  auto factory = MakeFactory();
  struct Case {
    const char* name;
    void (*write)(ID2D1GeometrySink*);
    bool inFigure = true;  // written between a BeginFigure and an EndFigure
    HRESULT closing = D2DERR_WRONG_STATE;
  };
  using Sink = ID2D1GeometrySink;
  static constexpr D2D1_POINT_2F kOrigin = {0, 0}, kOne = {1, 1};
  const Case cases[] = {
      // Unstroked segments and round joins, which the stand-in does not draw.
      {"segment flags",
       [](Sink* s) {
         s->SetSegmentFlags(D2D1_PATH_SEGMENT_FORCE_UNSTROKED);
         s->AddLine({1, 1});
       },
       true, E_NOTIMPL},
      {"segment outside a figure", [](Sink* s) { s->AddLine(kOne); }, false},
      {"figure left open",
       [](Sink* s) {
         s->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
         s->AddLine({1, 1});
       },
       false},
      {"figure inside a figure",
       [](Sink* s) { s->BeginFigure(kOrigin, D2D1_FIGURE_BEGIN_FILLED); }},
      {"end without a figure", [](Sink* s) { s->EndFigure(D2D1_FIGURE_END_OPEN); }, false},
      {"null points", [](Sink* s) { s->AddLines(nullptr, 2); }},
      {"fill mode after the first figure",
       [](Sink* s) {
         s->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
         s->AddLine({1, 1});
         s->EndFigure(D2D1_FIGURE_END_CLOSED);
         s->SetFillMode(D2D1_FILL_MODE_WINDING);
       },
       false},
      {"unknown sweep direction",
       [](Sink* s) {
         s->AddArc(d2d1test::Arc(10, 0, 5, 5, 0, static_cast<D2D1_SWEEP_DIRECTION>(7),
                                 D2D1_ARC_SIZE_SMALL));
       }},
      {"unknown arc size",
       [](Sink* s) {
         s->AddArc(d2d1test::Arc(10, 0, 5, 5, 0, D2D1_SWEEP_DIRECTION_CLOCKWISE,
                                 static_cast<D2D1_ARC_SIZE>(7)));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto [path, sink] = d2d1test::OpenNewPath(factory.Get());
    ASSERT_TRUE(sink);
    if (c.inFigure) sink->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
    c.write(sink.Get());
    if (c.inFigure) sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    EXPECT_EQ(c.closing, sink->Close());
    D2D1_RECT_F bounds;
    EXPECT_EQ(D2DERR_WRONG_STATE, path->GetBounds(nullptr, &bounds));
  }

  auto [path, sink] = d2d1test::OpenNewPath(factory.Get());
  ASSERT_TRUE(sink);
  sink->BeginFigure({0, 0}, D2D1_FIGURE_BEGIN_FILLED);
  sink->AddLine({10, 0});
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  ASSERT_EQ(S_OK, sink->Close());
  sink->BeginFigure({100, 100}, D2D1_FIGURE_BEGIN_FILLED);
  sink->AddLine({200, 200});
  sink->EndFigure(D2D1_FIGURE_END_CLOSED);
  EXPECT_EQ(D2DERR_WRONG_STATE, sink->Close());
  UINT32 figures = 0;
  EXPECT_EQ(S_OK, path->GetFigureCount(&figures));
  EXPECT_EQ(1u, figures);
}

TEST(StandInPathGeometry, FillModeDefaultsToAlternate) {
  auto factory = MakeFactory();
  // Two squares of the same orientation, one inside the other.
  auto nested = [](ID2D1GeometrySink* sink) {
    for (const float half : {20.0f, 10.0f}) {
      sink->BeginFigure({-half, -half}, D2D1_FIGURE_BEGIN_FILLED);
      sink->AddLine({half, -half});
      sink->AddLine({half, half});
      sink->AddLine({-half, half});
      sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    }
  };
  auto alternate = MakePath(factory.Get(), nested);
  auto winding = MakePath(factory.Get(), [&](ID2D1GeometrySink* sink) {
    sink->SetFillMode(D2D1_FILL_MODE_WINDING);
    nested(sink);
  });
  ASSERT_TRUE(alternate && winding);
  EXPECT_FALSE(d2d1test::FillContains(alternate.Get(), {0, 0}));
  EXPECT_TRUE(d2d1test::FillContains(winding.Get(), {0, 0}));
}

TEST(StandInMatrixHelpers, InvertMatrixIsExactToTheLastFloatDigit) {
  // Inverting a scale and move: the move comes back as -move / scale, rounded once.
  D2D1_MATRIX_3X2_F m = {{{0.5f, 0, 0, 3.0f, 1000.1f, 2000.3f}}};
  ASSERT_TRUE(D2D1InvertMatrix(&m));
  EXPECT_EQ(2.0f, m._11);
  EXPECT_EQ(static_cast<float>(1.0 / 3.0), m._22);
  EXPECT_EQ(static_cast<float>(-static_cast<double>(1000.1f) / 0.5), m._31);
  EXPECT_EQ(static_cast<float>(-static_cast<double>(2000.3f) / 3.0), m._32);

  D2D1_MATRIX_3X2_F flat = {{{1, 2, 2, 4, 5, 6}}};
  EXPECT_FALSE(D2D1IsMatrixInvertible(&flat));
  EXPECT_FALSE(D2D1InvertMatrix(&flat));
}

TEST(StandInLiveObjects, CountsEveryObjectUntilItsLastReferenceGoes) {
  const LONG before = d2d1test::StandInLiveObjects();
  {
    auto factory = MakeFactory();
    EXPECT_EQ(before + 1, d2d1test::StandInLiveObjects());
    auto [path, sink] = d2d1test::OpenNewPath(factory.Get());
    ASSERT_TRUE(sink);
    EXPECT_EQ(before + 3, d2d1test::StandInLiveObjects());
    ComPtr<ID2D1Geometry> alias;
    ASSERT_EQ(S_OK, path.As(&alias));
    path.Reset();
    EXPECT_EQ(before + 3, d2d1test::StandInLiveObjects());
  }
  EXPECT_EQ(before, d2d1test::StandInLiveObjects());
}

}  // namespace
