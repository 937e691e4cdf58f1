// 187, 188: the news entry panels. Black, more opaque on the left than on the right, the two parts
// divided by a soft slanted edge from x 302 at the top to x 224 at the bottom. The hover panel is
// the same shape, lighter.
#include <cmath>

#include "tools/artgen/artwork.h"

namespace vexmor::artgen {
namespace {

constexpr int kWidth = 680, kHeight = 208;
constexpr double kEdgeTopX = 302, kEdgeBottomX = 224;
constexpr double kEdgeSoftness = 5;  // half the width of the blend across the edge, in pixels

Image Panel(int leftAlpha, int rightAlpha) {
  Image panel(kWidth, kHeight);
  const double slope = (kEdgeBottomX - kEdgeTopX) / kHeight;
  const double perpendicular = 1.0 / std::sqrt(1.0 + slope * slope);
  for (int y = 0; y < kHeight; ++y) {
    const double edgeX = kEdgeTopX + slope * (y + 0.5);
    for (int x = 0; x < kWidth; ++x) {
      const double distance = (x + 0.5 - edgeX) * perpendicular;  // positive right of the edge
      const double t = SmoothStep(-kEdgeSoftness, kEdgeSoftness, distance);
      const auto alpha = static_cast<std::uint8_t>(std::lround(leftAlpha + (rightAlpha - leftAlpha) * t));
      panel.Set(x, y, {0, 0, 0, alpha});
    }
  }
  return panel;
}

}  // namespace

void PaintNewsPanels(const ImageFolder& images) {
  images.Save(Panel(129, 76), "187_news_panel.png");
  images.Save(Panel(112, 51), "188_news_panel_hover.png");
}

}  // namespace vexmor::artgen
