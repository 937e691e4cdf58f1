#pragma once

#include <vector>

#include "platform/window/pixel_rect.h"

namespace vexmor::platform {

// The part of a window that must be painted again: the rectangles invalidated since the last
// paint, clipped to the window, and whether any of them asked for the background to be erased.
class InvalidRegion {
 public:
  explicit InvalidRegion(PixelRect bounds) : bounds_(bounds) {}

  // Adds a rectangle. Parts outside the bounds are dropped; a rectangle already covered by the
  // region adds nothing, and rectangles the new one covers are dropped.
  void Add(PixelRect rect, bool erase);
  // Empties the region (after a paint).
  void Clear();

  bool IsEmpty() const { return rects_.empty(); }
  bool NeedsErase() const { return erase_; }
  // Disjoint or overlapping rectangles, never empty, all inside the bounds.
  const std::vector<PixelRect>& Rects() const { return rects_; }
  // The smallest rectangle around the region; empty when the region is.
  PixelRect Bounds() const;

 private:
  // Beyond this many rectangles the region becomes one rectangle around them all: copying a
  // little more is cheaper than tracking many small pieces.
  static constexpr std::size_t kMaxRects = 16;

  PixelRect bounds_;
  std::vector<PixelRect> rects_;
  bool erase_ = false;
};

}  // namespace vexmor::platform
