#include "tools/artgen/noise.h"

#include <algorithm>
#include <cmath>

namespace vexmor::artgen {
namespace {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B1u ^ std::uint32_t(x) * 0x85EBCA77u ^ std::uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

// 256 unit gradients around the circle; a lattice point's hash picks one. A table instead of
// sin/cos per lookup keeps the full-size background fast.
struct GradientTable {
  double x[256], y[256];
  GradientTable() {
    for (int i = 0; i < 256; ++i) {
      x[i] = std::cos(i * 6.283185307179586 / 256);
      y[i] = std::sin(i * 6.283185307179586 / 256);
    }
  }
};
const GradientTable kGradients;

// Dot product of the lattice point's pseudo-random unit gradient with the offset (dx, dy).
double GradientDot(std::int32_t ix, std::int32_t iy, std::uint32_t seed, double dx, double dy) {
  const std::uint32_t i = Hash(ix, iy, seed) >> 24;
  return kGradients.x[i] * dx + kGradients.y[i] * dy;
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

std::uint64_t Random::NextBits() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::Next() { return double(NextBits() >> 11) * (1.0 / 9007199254740992.0); }

double GradientNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = std::int32_t(fx), iy = std::int32_t(fy);
  const double dx = x - fx, dy = y - fy;
  const double n00 = GradientDot(ix, iy, seed, dx, dy);
  const double n10 = GradientDot(ix + 1, iy, seed, dx - 1, dy);
  const double n01 = GradientDot(ix, iy + 1, seed, dx, dy - 1);
  const double n11 = GradientDot(ix + 1, iy + 1, seed, dx - 1, dy - 1);
  const double u = Fade(dx), v = Fade(dy);
  const double value = (n00 + (n10 - n00) * u) + ((n01 + (n11 - n01) * u) - (n00 + (n10 - n00) * u)) * v;
  // 2D gradient noise stays within about ±0.71.
  return std::clamp(0.5 + value * 0.7, 0.0, 1.0);
}

double FractalNoise(double x, double y, std::uint32_t seed, int octaves, double gain) {
  double sum = 0, weight = 1, total = 0, frequency = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * GradientNoise(x * frequency, y * frequency, seed + 101u * std::uint32_t(i));
    total += weight;
    weight *= gain;
    frequency *= 2.0;
  }
  return sum / total;
}

double RidgedNoise(double x, double y, std::uint32_t seed, int octaves, double gain) {
  double sum = 0, weight = 1, total = 0, frequency = 1;
  for (int i = 0; i < octaves; ++i) {
    const double n = GradientNoise(x * frequency, y * frequency, seed + 211u * std::uint32_t(i));
    const double ridge = 1.0 - std::abs(n - 0.5) * 2.0;
    sum += weight * ridge * ridge;
    total += weight;
    weight *= gain;
    frequency *= 2.0;
  }
  return sum / total;
}

}  // namespace vexmor::artgen
