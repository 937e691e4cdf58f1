#pragma once

#include <cstdint>

namespace vexmor::platform {

// A rectangle by its edges in pixels; right and bottom are exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const Rect&) const = default;
};

// A rectangle by its corner and size, in single precision, as text layout and fills take it.
struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;

  bool operator==(const RectF&) const = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const Point&) const = default;
};

struct PointF {
  float x = 0;
  float y = 0;

  bool operator==(const PointF&) const = default;
};

// A colour as 32-bit ARGB, alpha in the top byte, not premultiplied.
using Argb = std::uint32_t;

}  // namespace vexmor::platform
