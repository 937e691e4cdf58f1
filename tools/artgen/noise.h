#pragma once

#include <cstdint>

// Seeded randomness for the artwork: the same seed always gives the same picture.
namespace vexmor::artgen {

// A small, fully specified generator (splitmix64), so results do not depend on the standard
// library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t NextBits();
  // Uniform in [0, 1).
  double Next();
  // Uniform in [low, high).
  double Between(double low, double high) { return low + (high - low) * Next(); }

 private:
  std::uint64_t state_;
};

// Gradient (Perlin-style) noise at (x, y), about 0.5 on average and within [0, 1].
double GradientNoise(double x, double y, std::uint32_t seed);

// Fractal sum of `octaves` noise layers, each twice the frequency and `gain` times the weight of
// the one before; within [0, 1].
double FractalNoise(double x, double y, std::uint32_t seed, int octaves, double gain = 0.5);

// Ridged variant: sharp crests where the noise crosses its middle, for rock and cloud filaments.
double RidgedNoise(double x, double y, std::uint32_t seed, int octaves, double gain = 0.5);

}  // namespace vexmor::artgen
