#pragma once
// The window render target, the device resources built on it, and one frame of drawing.

#include <windows.h>

// Creates the render target at the client size and hands it to the five palettes and then the
// two charts, unless it exists already. S_OK when a render target exists afterwards.
HRESULT EnsureDeviceResources(HWND window);

// Makes the focus rectangle's brushes in the window's colours, when there is a render target.
void MakeFocusBrushes();

// Drops the render target and every palette's and chart's device resources.
void DiscardAllDeviceResources();

// One frame: background and both charts. A lost device is dropped and rebuilt at the next paint,
// which a lost frame asks for unless the frame before it was lost too.
HRESULT RenderCharts(HWND window);
