#pragma once
// The random source behind "Regen": uniform numbers in [0, 1), replaceable in tests.

#include <cstdint>
#include <random>

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Uniform in [0, 1).
  virtual double NextUnit() = 0;
};

// A Mersenne Twister seeded once, with 53-bit uniform doubles (never 1.0).
class SeededRandomSource final : public RandomSource {
 public:
  explicit SeededRandomSource(std::uint32_t seed) : engine_(seed) {}
  double NextUnit() override;

 private:
  std::mt19937 engine_;
};

// A whole number from first to last inclusive: floor(u * (last - first + 1) + first).
int RandomInteger(RandomSource& source, int first, int last);
