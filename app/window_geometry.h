#pragma once

#include <cstdint>
#include <optional>

namespace vexmor {

// The window's size, place and pacing, derived once from the primary screen.
struct WindowGeometry {
  std::int32_t refreshRate = 0;      // Hz
  std::int32_t frameIntervalMs = 0;  // between two frame ticks
  std::int32_t width = 0;
  std::int32_t height = 0;
  float scale = 0;  // height / 1080
  std::int32_t left = 0;  // may be negative: a screen smaller than the window
  std::int32_t top = 0;
};

inline constexpr std::int32_t kMinWindowHeight = 480;
inline constexpr std::int32_t kDefaultRefreshRate = 60;

// Half the screen's height (at least kMinWindowHeight), 16:9, centred on the screen. A refresh
// rate that is unknown or outside 30 to 240 Hz counts as kDefaultRefreshRate.
WindowGeometry ComputeWindowGeometry(std::int32_t screenWidth, std::int32_t screenHeight,
                                     std::optional<std::int32_t> refreshRate);

}  // namespace vexmor
