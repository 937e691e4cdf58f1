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
  const bool bounded = layout.width != 0 || layout.height != 0;
  const bool wraps = bounded && layout.width > 0 && !format.noWrap;
  const auto [pango, extents] = layoutCache_->Get(font, text, wraps ? int(layout.width * PANGO_SCALE) : -1,
                                                  ToPango(format.horizontal));
  double x = layout.x;
  double y = layout.y;
  if (bounded) {
    // Without a width Pango aligns lines only against the widest line, so the block as a whole is
    // placed in the rectangle here.
    if (!wraps) x += AlignedOffset(format.horizontal, layout.width, extents.width) - extents.x;
    y += AlignedOffset(format.vertical, layout.height, extents.height) - extents.y;
  }

  cairo_save(cr_.get());
  if (bounded) {
    cairo_rectangle(cr_.get(), layout.x, layout.y, layout.width, layout.height);
    cairo_clip(cr_.get());
  }
  SetSource(brush.color);
  cairo_move_to(cr_.get(), x, y);
  pango_cairo_show_layout(cr_.get(), pango);
  cairo_restore(cr_.get());
}

}  // namespace vexmor::platform
