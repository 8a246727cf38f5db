#pragma once
// Start-up of the drawing objects and the "Regen" action.

// Creates the factory, the helper, the five palettes and both charts, then regenerates the
// charts. False when the factory or the helper cannot be made.
bool CreateAppObjects();

// New random values and palettes for both charts, the caption, and a repaint.
void RegenerateCharts();
