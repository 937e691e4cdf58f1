#include "platform/canvas/canvas.h"

#include <cairo.h>

#include "platform/canvas/text_layout_cache.h"

namespace vexmor::platform {

Canvas::Canvas(Bitmap& target)
    : cr_(cairo_create(target.Surface())), layoutCache_(std::make_unique<TextLayoutCache>()) {
  cairo_set_antialias(cr_.get(), CAIRO_ANTIALIAS_NONE);
}

Canvas::~Canvas() = default;

void Canvas::SetSource(Argb color) {
  cairo_set_source_rgba(cr_.get(), ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                        (color & 0xFF) / 255.0, (color >> 24) / 255.0);
}

void Canvas::DrawCached(const CachedBitmap& image, int x, int y) {
  cairo_set_source_surface(cr_.get(), image.Surface(), x, y);
  cairo_rectangle(cr_.get(), x, y, image.Width(), image.Height());
  cairo_fill(cr_.get());
}

void Canvas::FillRectangle(const SolidBrush& brush, int x, int y, int width, int height) {
  FillRectangle(brush, RectF{float(x), float(y), float(width), float(height)});
}

void Canvas::FillRectangle(const SolidBrush& brush, const RectF& rect) {
  SetSource(brush.color);
  cairo_rectangle(cr_.get(), rect.x, rect.y, rect.width, rect.height);
  cairo_fill(cr_.get());
}

void Canvas::FillPolygonEvenOdd(const SolidBrush& brush, std::span<const PointF> points) {
  if (points.empty()) return;
  SetSource(brush.color);
  cairo_set_fill_rule(cr_.get(), CAIRO_FILL_RULE_EVEN_ODD);
  cairo_move_to(cr_.get(), points[0].x, points[0].y);
  for (const PointF& point : points.subspan(1)) cairo_line_to(cr_.get(), point.x, point.y);
  cairo_close_path(cr_.get());
  cairo_fill(cr_.get());
  cairo_set_fill_rule(cr_.get(), CAIRO_FILL_RULE_WINDING);
}

void Canvas::DrawLine(const Pen& pen, int x1, int y1, int x2, int y2) {
  SetSource(pen.color);
  cairo_set_line_width(cr_.get(), pen.width);
  // Pixel centres lie half a unit into each pixel; a line through them covers whole pixels.
  cairo_move_to(cr_.get(), x1 + 0.5, y1 + 0.5);
  cairo_line_to(cr_.get(), x2 + 0.5, y2 + 0.5);
  cairo_stroke(cr_.get());
}

}  // namespace vexmor::platform
