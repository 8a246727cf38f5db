#include "app/random_source.h"

#include <cmath>

double SeededRandomSource::NextUnit() {
  // 27 + 26 random bits make a double in [0, 1) with every value equally likely.
  const double high = static_cast<double>(engine_() >> 5);
  const double low = static_cast<double>(engine_() >> 6);
  return (high * 67108864.0 + low) / 9007199254740992.0;
}

int RandomInteger(RandomSource& source, int first, int last) {
  return static_cast<int>(std::floor(source.NextUnit() * (last - first + 1) + first));
}
