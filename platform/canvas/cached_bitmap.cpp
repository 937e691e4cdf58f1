#include "platform/canvas/cached_bitmap.h"

#include <cairo.h>

namespace vexmor::platform {

CachedBitmap::CachedBitmap(const Bitmap& source)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, source.Width(), source.Height())),
      width_(source.Width()),
      height_(source.Height()) {
  detail::CairoPtr cr(cairo_create(surface_.get()));
  cairo_set_source_surface(cr.get(), source.Surface(), 0, 0);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr.get());
  cairo_surface_flush(surface_.get());
}

}  // namespace vexmor::platform
