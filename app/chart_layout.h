#pragma once
// Where the charts stand in the window: the render target's size in pixels, the charts centred
// horizontally, and the conversion from the window's pixels to the charts' units.

#include <d2d1.h>

// Device-independent units per pixel, x and y: mouse positions and WM_SIZE come in pixels, the
// charts live in the render target's DIPs.
D2D1_POINT_2F DipsPerPixel();

// Resizes the render target to the client size in pixels and centres both charts horizontally.
void ResizeCharts(UINT width, UINT height);
