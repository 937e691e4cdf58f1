#pragma once

#include "platform/canvas/bitmap.h"
#include "platform/canvas/c_handles.h"

namespace vexmor::platform {

// A copy of a bitmap in the back buffer's pixel format (32-bit ARGB), drawn only unscaled at whole
// pixel positions, so drawing it is a plain blend of rows.
class CachedBitmap {
 public:
  explicit CachedBitmap(const Bitmap& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_surface_t* Surface() const { return surface_.get(); }

 private:
  detail::SurfacePtr surface_;
  int width_;
  int height_;
};

}  // namespace vexmor::platform
