#pragma once

#include <vector>

#include "platform/canvas/geometry.h"

namespace vexmor {

// Parts of the window that widgets and the news list asked to have repainted, in the order asked.
// The shell hands them on to the window (platform::Window::Invalidate) and empties the list. With
// `erase` the area's old content is worthless; the scene repaints every pixel either way.
struct DirtyRects {
  struct Area {
    platform::Rect rect;
    bool erase = false;
    bool operator==(const Area&) const = default;
  };
  std::vector<Area> areas;

  void Add(const platform::Rect& rect, bool erase) { areas.push_back({rect, erase}); }
  void Clear() { areas.clear(); }
};

}  // namespace vexmor
