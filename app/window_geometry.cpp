#include "app/window_geometry.h"

namespace vexmor {

WindowGeometry ComputeWindowGeometry(std::int32_t screenWidth, std::int32_t screenHeight,
                                     std::optional<std::int32_t> refreshRate) {
  WindowGeometry g;
  g.refreshRate = refreshRate.value_or(0);
  if (g.refreshRate < 30 || g.refreshRate > 240) g.refreshRate = kDefaultRefreshRate;
  g.frameIntervalMs = std::int32_t(1000.0 / g.refreshRate);
  g.height = std::int32_t(screenHeight * 0.5);
  if (g.height < kMinWindowHeight) g.height = kMinWindowHeight;
  g.width = std::int32_t(g.height * 1.7777777777777777);
  g.scale = float(g.height) / 1080.0f;
  g.left = std::int32_t((screenWidth - g.width) * 0.5);
  g.top = std::int32_t((screenHeight - g.height) * 0.5);
  return g;
}

}  // namespace vexmor
