#include "palette/palettes.h"

#include "palette/palette_colours.h"

cBerryPalette::cBerryPalette() : cPalette(palette_colours::Berry) {}
cBrightPalette::cBrightPalette() : cPalette(palette_colours::Bright) {}
cBrightPastelPalette::cBrightPastelPalette() : cPalette(palette_colours::BrightPastel) {}
cEarthPalette::cEarthPalette() : cPalette(palette_colours::Earth) {}
cFirePalette::cFirePalette() : cPalette(palette_colours::Fire) {}

namespace {

template <typename PaletteClass>
void NewPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  *palette = nullptr;
  auto made = orb::MakeComObject<PaletteClass>();
  if (!made) return;
  made->Init(helper, factory);
  *palette = made.Detach();
}

}  // namespace

void NewBerryPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  NewPalette<cBerryPalette>(palette, helper, factory);
}
void NewBrightPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  NewPalette<cBrightPalette>(palette, helper, factory);
}
void NewBrightPastelPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  NewPalette<cBrightPastelPalette>(palette, helper, factory);
}
void NewEarthPalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  NewPalette<cEarthPalette>(palette, helper, factory);
}
void NewFirePalette(IPalette** palette, ID2DHelper* helper, ID2D1Factory* factory) {
  NewPalette<cFirePalette>(palette, helper, factory);
}
