#pragma once

#include <cstdint>

namespace vexmor::platform {

// An ARGB pixel with premultiplied colour (cairo's form) in straight form (what window icons
// take): each colour channel divided by alpha, rounded. Fully transparent pixels become 0.
std::uint32_t StraightAlpha(std::uint32_t premultiplied);

}  // namespace vexmor::platform
