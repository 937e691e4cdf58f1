#include <pango/pangocairo.h>

#include "platform/canvas/canvas.h"
#include "platform/canvas/text_layout_cache.h"

namespace vexmor::platform {
namespace {

PangoAlignment ToPango(TextAlign align) {
  switch (align) {
    case TextAlign::Center:
      return PANGO_ALIGN_CENTER;
    case TextAlign::Far:
      return PANGO_ALIGN_RIGHT;
    case TextAlign::Near:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

// Where a block of `extent` pixels starts in a span of `room` pixels.
double AlignedOffset(TextAlign align, double room, double extent) {
  switch (align) {
    case TextAlign::Center:
      return (room - extent) / 2;
    case TextAlign::Far:
      return room - extent;
    case TextAlign::Near:
      break;
  }
  return 0;
}

}  // namespace

void Canvas::DrawText(std::string_view text, const Font& font, const SolidBrush& brush,
                      const RectF& layout, const StringFormat& format) {
  text = text.substr(0, text.find('\0'));
  // A side of zero leaves the text unbounded that way: no wrapping, alignment or clipping.
  const bool boundedX = layout.width > 0;
  const bool boundedY = layout.height > 0;
  const bool wraps = boundedX && !format.noWrap;
  const int wrapWidth = wraps ? int(layout.width * PANGO_SCALE) : -1;
  const auto [pango, extents] =
      layoutCache_->Get(font, text, wrapWidth, ToPango(format.horizontal));

  // A wrapping layout places each line within its width itself. Without a width Pango aligns lines
  // only against the widest line, so then the block as a whole is placed in the rectangle here.
  double x = layout.x;
  if (!wraps) x -= extents.x;
  if (boundedX && !wraps) x += AlignedOffset(format.horizontal, layout.width, extents.width);
  double y = layout.y - extents.y;
  if (boundedY) y += AlignedOffset(format.vertical, layout.height, extents.height);

  cairo_save(cr_.get());
  if (boundedX || boundedY) {
    constexpr double kFar = 1e7;
    cairo_rectangle(cr_.get(), boundedX ? layout.x : -kFar, boundedY ? layout.y : -kFar,
                    boundedX ? layout.width : 2 * kFar, boundedY ? layout.height : 2 * kFar);
    cairo_clip(cr_.get());
  }
  SetSource(brush.color);
  cairo_move_to(cr_.get(), x, y);
  pango_cairo_show_layout(cr_.get(), pango);
  cairo_restore(cr_.get());
}

}  // namespace vexmor::platform
