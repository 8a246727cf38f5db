#include "app/high_contrast.h"

bool ReadHighContrast() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof(setting);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0)) return false;
  return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
