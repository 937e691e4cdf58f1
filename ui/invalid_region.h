#pragma once

#include <vector>

#include "platform/canvas/geometry.h"

namespace vexmor {

// The parts of the window that must be repainted, collected between two paints. With `erase` the
// area's old content is worthless; the scene repaints every pixel either way.
struct InvalidRegion {
  struct Area {
    platform::Rect rect;
    bool erase = false;
    bool operator==(const Area&) const = default;
  };
  std::vector<Area> areas;

  void Add(const platform::Rect& rect, bool erase) { areas.push_back({rect, erase}); }
};

}  // namespace vexmor
