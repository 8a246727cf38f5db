#pragma once
// Device resources, hit testing and drawing: shared by the palettes and the pie chart.

#include <d2d1.h>

#include "com/com_object.h"

struct DECLSPEC_UUID("AB3E70B5-9544-4CBE-8BBF-24E3E5C34525") DECLSPEC_NOVTABLE IRenderable
    : public IUnknown {
  virtual void STDMETHODCALLTYPE CreateDeviceResources(ID2D1RenderTarget* renderTarget) = 0;
  virtual void STDMETHODCALLTYPE DiscardDeviceResources() = 0;
  // The index of the part under (x, y), or -1.
  virtual INT32 STDMETHODCALLTYPE HitTest(FLOAT x, FLOAT y, const D2D1_MATRIX_3X2_F& transform) = 0;
  virtual void STDMETHODCALLTYPE Draw(HWND window) = 0;
};
ORB_DECLARE_UUID(IRenderable, 0xab3e70b5, 0x9544, 0x4cbe, 0x8b, 0xbf, 0x24, 0xe3, 0xe5, 0xc3, 0x45,
                 0x25)
