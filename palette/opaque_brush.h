#pragma once
// The one way the program makes a brush: an opaque solid colour from 8-bit components.

#include <d2d1.h>

#include "com/com_object.h"
#include "d2d/id2d_helper.h"

// Each component divided by 255, alpha 1, opacity 1 and the identity transform. Empty when the
// render target cannot make it.
orb::ComPtr<ID2D1SolidColorBrush> MakeOpaqueBrush(ID2D1RenderTarget* target, ID2DHelper* helper,
                                                  int red, int green, int blue);
