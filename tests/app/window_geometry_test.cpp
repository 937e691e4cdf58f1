#include "app/window_geometry.h"

#include <gtest/gtest.h>

namespace vexmor {
namespace {

TEST(WindowGeometryTest, HalfTheScreenHighSixteenByNineCentredAndAtLeast480High) {
  struct Case {
    int screenWidth, screenHeight;
    int width, height, left, top;
    float scale;
  };
  const Case cases[] = {
      {1920, 1080, 960, 540, 480, 270, 0.5f},
      {1280, 720, 853, 480, 213, 120, 0.44444445f},
      {2560, 1440, 1280, 720, 640, 360, 0.6666667f},
      {3840, 2160, 1920, 1080, 960, 540, 1.0f},
      {1366, 768, 853, 480, 256, 144, 0.44444445f},
      {1280, 1024, 910, 512, 185, 256, 0.47407407f},
      {800, 600, 853, 480, -26, 60, 0.44444445f},  // overhangs the left edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight));
    const WindowGeometry g = ComputeWindowGeometry(c.screenWidth, c.screenHeight, 60);
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.height, c.height);
    EXPECT_EQ(g.left, c.left);
    EXPECT_EQ(g.top, c.top);
    EXPECT_FLOAT_EQ(g.scale, c.scale);
  }
}

TEST(WindowGeometryTest, RefreshRatesOutside30To240OrUnknownCountAs60) {
  const std::pair<std::optional<int>, std::pair<int, int>> cases[] = {
      {60, {60, 16}},  {144, {144, 6}}, {240, {240, 4}}, {30, {30, 33}},
      {29, {60, 16}},  {241, {60, 16}}, {0, {60, 16}},   {std::nullopt, {60, 16}},
  };
  for (const auto& [rate, expected] : cases) {
    const WindowGeometry g = ComputeWindowGeometry(1920, 1080, rate);
    EXPECT_EQ(g.refreshRate, expected.first) << rate.value_or(-1);
    EXPECT_EQ(g.frameIntervalMs, expected.second) << rate.value_or(-1);
  }
}

}  // namespace
}  // namespace vexmor
