#pragma once
// The interface of CD2D1Helper: builders of Direct2D parameter records, filling in fixed
// defaults for the fields a caller leaves out. The helper holds no state.

#include <d2d1.h>

#include "com/com_object.h"

struct DECLSPEC_UUID("CBA0E99F-A172-40F0-9FA6-60C0B7508429") DECLSPEC_NOVTABLE ID2DHelper
    : public IUnknown {
  virtual D2D1_POINT_2F STDMETHODCALLTYPE MakePoint(FLOAT x, FLOAT y) = 0;
  virtual D2D1_SIZE_U STDMETHODCALLTYPE MakeSizeU(UINT32 width, UINT32 height) = 0;
  virtual D2D1_PIXEL_FORMAT STDMETHODCALLTYPE MakePixelFormat(DXGI_FORMAT format,
                                                              D2D1_ALPHA_MODE alphaMode) = 0;
  // A null pixelFormat stands for (DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN).
  virtual D2D1_RENDER_TARGET_PROPERTIES STDMETHODCALLTYPE MakeRenderTargetProperties(
      D2D1_RENDER_TARGET_TYPE type, const D2D1_PIXEL_FORMAT* pixelFormat, FLOAT dpiX, FLOAT dpiY,
      D2D1_RENDER_TARGET_USAGE usage, D2D1_FEATURE_LEVEL minLevel) = 0;
  // A null pixelSize stands for {0, 0}.
  virtual D2D1_HWND_RENDER_TARGET_PROPERTIES STDMETHODCALLTYPE MakeHwndRenderTargetProperties(
      HWND hwnd, const D2D1_SIZE_U* pixelSize, D2D1_PRESENT_OPTIONS presentOptions) = 0;
  virtual D2D1_COLOR_F STDMETHODCALLTYPE MakeColor(FLOAT r, FLOAT g, FLOAT b, FLOAT a = 1.0f) = 0;
  virtual D2D1_MATRIX_3X2_F STDMETHODCALLTYPE MakeIdentityMatrix() = 0;
};
ORB_DECLARE_UUID(ID2DHelper, 0xcba0e99f, 0xa172, 0x40f0, 0x9f, 0xa6, 0x60, 0xc0, 0xb7, 0x50, 0x84,
                 0x29)
