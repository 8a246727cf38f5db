#pragma once
// The five palettes, each a colour list and nothing else.

#include "palette/palette.h"

class cBerryPalette final : public cPalette {
 public:
  cBerryPalette();
};

class cBrightPalette final : public cPalette {
 public:
  cBrightPalette();
};

class cBrightPastelPalette final : public cPalette {
 public:
  cBrightPastelPalette();
};

class cEarthPalette final : public cPalette {
 public:
  cEarthPalette();
};

class cFirePalette final : public cPalette {
 public:
  cFirePalette();
};

// Each makes a new palette into *palette (empty when it cannot be made) and calls Init on it.
void NewBerryPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory);
void NewBrightPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory);
void NewBrightPastelPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory);
void NewEarthPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory);
void NewFirePalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory);
