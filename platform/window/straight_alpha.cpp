#include "platform/window/straight_alpha.h"

#include <algorithm>

namespace vexmor::platform {

std::uint32_t StraightAlpha(std::uint32_t premultiplied) {
  const std::uint32_t alpha = premultiplied >> 24;
  if (alpha == 0) return 0;
  if (alpha == 255) return premultiplied;
  auto channel = [&](int shift) {
    const std::uint32_t value = (premultiplied >> shift) & 0xFF;
    // A malformed pixel may carry more colour than alpha allows; clamp rather than overflow
    // into the neighbouring channel.
    return std::min<std::uint32_t>((value * 255 + alpha / 2) / alpha, 255) << shift;
  };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace vexmor::platform
