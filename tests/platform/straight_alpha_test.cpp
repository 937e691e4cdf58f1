#include "platform/window/straight_alpha.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace vexmor::platform {
namespace {

TEST(StraightAlpha, DividesColourByAlpha) {
  struct Case {
    const char* name;
    std::uint32_t premultiplied;
    std::uint32_t straight;
  };
  const Case cases[] = {
      {"Opaque pixels stay", 0xFF123456, 0xFF123456},
      {"Transparent pixels become zero", 0x00000000, 0x00000000},
      {"Half alpha doubles", 0x80402010, 0x80804020},
      {"Full colour at low alpha", 0x10101010, 0x10FFFFFF},
      {"Rounds to nearest", 0x03010201, 0x0355AA55},
      {"Too much colour is clamped", 0x40FF8000, 0x40FFFF00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StraightAlpha(c.premultiplied), c.straight) << c.name;
  }
}

}  // namespace
}  // namespace vexmor::platform
