#pragma once
// A palette: a fixed list of colours turned into colour and gray brushes on a render target.

#include <d2d1.h>

#include "com/com_object.h"
#include "d2d/id2d_helper.h"

struct DECLSPEC_UUID("A66775CC-277B-4488-9A8D-914BDBACB85F") DECLSPEC_NOVTABLE IPalette
    : public IUnknown {
  virtual void STDMETHODCALLTYPE Init(ID2DHelper* helper, ID2D1Factory* factory) = 0;
  // Nonzero means gray.
  virtual INT32 STDMETHODCALLTYPE GetGray() = 0;
  virtual void STDMETHODCALLTYPE SetGray(INT32 value) = 0;
  // Clears *brush, then gives it the brush for index (wrapped by the colour count) with a
  // reference of its own, or leaves it empty when there is no such brush. A non-null gray
  // replaces the palette's gray flag for this one call.
  virtual void STDMETHODCALLTYPE GetBrush(INT32 index, ID2D1SolidColorBrush** brush,
                                          const INT32* gray = nullptr) = 0;
};
ORB_DECLARE_UUID(IPalette, 0xa66775cc, 0x277b, 0x4488, 0x9a, 0x8d, 0x91, 0x4b, 0xdb, 0xac, 0xb8,
                 0x5f)
