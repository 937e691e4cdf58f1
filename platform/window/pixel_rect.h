#pragma once

namespace vexmor::platform {

// A rectangle of pixels in window coordinates; right and bottom are exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(const PixelRect& other) const {
    return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
  }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace vexmor::platform
