#include "platform/window/invalid_region.h"

#include <gtest/gtest.h>

namespace vexmor::platform {
namespace {

struct Added {
  PixelRect rect;
  bool erase;
};

struct RegionCase {
  const char* name;
  std::vector<Added> added;
  std::vector<PixelRect> expectedRects;
  bool expectedErase;
};

class InvalidRegionTest : public testing::TestWithParam<RegionCase> {};

TEST_P(InvalidRegionTest, CollectsRectangles) {
  const RegionCase& c = GetParam();
  InvalidRegion region({0, 0, 100, 50});
  for (const Added& a : c.added) region.Add(a.rect, a.erase);
  EXPECT_EQ(region.Rects(), c.expectedRects);
  EXPECT_EQ(region.NeedsErase(), c.expectedErase);
  EXPECT_EQ(region.IsEmpty(), c.expectedRects.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidRegionTest,
    testing::Values(
        RegionCase{"Nothing", {}, {}, false},
        RegionCase{"OneWithoutErase", {{{1, 2, 10, 20}, false}}, {{1, 2, 10, 20}}, false},
        RegionCase{"EraseOfAnyRectangleCounts",
                   {{{1, 2, 10, 20}, false}, {{30, 2, 40, 20}, true}, {{50, 2, 60, 20}, false}},
                   {{1, 2, 10, 20}, {30, 2, 40, 20}, {50, 2, 60, 20}},
                   true},
        RegionCase{"ClippedToWindow", {{{-10, -10, 20, 200}, false}}, {{0, 0, 20, 50}}, false},
        RegionCase{"OutsideAddsNothingNotEvenErase", {{{100, 0, 120, 10}, true}}, {}, false},
        RegionCase{"EmptyAddsNothing", {{{10, 10, 10, 20}, true}}, {}, false},
        RegionCase{"CoveredAddsNothing", {{{0, 0, 50, 50}, false}, {{10, 10, 20, 20}, false}},
                   {{0, 0, 50, 50}},
                   false},
        RegionCase{"CoveringReplaces",
                   {{{10, 10, 20, 20}, false}, {{30, 10, 40, 20}, false}, {{5, 5, 45, 25}, true}},
                   {{5, 5, 45, 25}},
                   true},
        RegionCase{"OverlappingKept", {{{0, 0, 20, 20}, false}, {{10, 10, 30, 30}, false}},
                   {{0, 0, 20, 20}, {10, 10, 30, 30}},
                   false}),
    [](const testing::TestParamInfo<RegionCase>& info) { return info.param.name; });

TEST(InvalidRegion, ManySmallRectanglesBecomeOneAroundThem) {
  InvalidRegion region({0, 0, 100, 50});
  for (int i = 0; i < 17; ++i) region.Add({i * 4, i, i * 4 + 2, i + 2}, false);
  EXPECT_EQ(region.Rects(), (std::vector<PixelRect>{{0, 0, 66, 18}}));
}

TEST(InvalidRegion, ClearForgetsRectanglesAndErase) {
  InvalidRegion region({0, 0, 100, 50});
  region.Add({0, 0, 10, 10}, true);
  region.Clear();
  EXPECT_TRUE(region.IsEmpty());
  EXPECT_FALSE(region.NeedsErase());
  EXPECT_EQ(region.Bounds(), PixelRect{});
}

}  // namespace
}  // namespace vexmor::platform
