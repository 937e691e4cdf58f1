// 167: the marker that slides along both progress bars: a light-grey bar, columns 52 to 60 over
// the full height, with a glow that fades to nothing over 17 pixels on each side.
#include <algorithm>
#include <cmath>

#include "tools/artgen/artwork.h"

namespace vexmor::artgen {
namespace {

constexpr int kSize = 112;
constexpr int kBarFirst = 52, kBarLast = 60;
constexpr int kGlowWidth = 17;
constexpr double kGlowPeak = 0.6;

}  // namespace

void PaintProgressMarker(const ImageFolder& images) {
  Image marker(kSize, kSize);
  for (int x = 0; x < kSize; ++x) {
    Pixel pixel;
    if (x >= kBarFirst && x <= kBarLast) {
      pixel = {200, 200, 200, 255};
    } else {
      const int distance = x < kBarFirst ? kBarFirst - x : x - kBarLast;  // 1 next to the bar
      const double fade = std::max(0.0, 1.0 - double(distance) / (kGlowWidth + 1));
      pixel = {225, 225, 225, static_cast<std::uint8_t>(std::lround(255 * kGlowPeak * fade * fade))};
    }
    for (int y = 0; y < kSize; ++y) marker.Set(x, y, pixel);
  }
  images.Save(marker, "167_progress_marker.png");
}

}  // namespace vexmor::artgen
