#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/c_handles.h"
#include "platform/canvas/cached_bitmap.h"
#include "platform/canvas/drawing_style.h"
#include "platform/canvas/font.h"
#include "platform/canvas/geometry.h"

namespace vexmor::platform {

// A drawing context on a bitmap. Shapes are drawn without antialiasing (a pixel is covered when
// its centre is), text with grey antialiasing; every colour is blended over what is there.
class TextLayoutCache;

class Canvas {
 public:
  explicit Canvas(Bitmap& target);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The image at its own size with its top-left corner at (x, y).
  void DrawCached(const CachedBitmap& image, int x, int y);

  void FillRectangle(const SolidBrush& brush, int x, int y, int width, int height);
  void FillRectangle(const SolidBrush& brush, const RectF& rect);

  // A closed polygon filled with the even-odd rule: a point is inside when a ray from it crosses
  // the outline an odd number of times.
  void FillPolygonEvenOdd(const SolidBrush& brush, std::span<const PointF> points);

  // A line through the pixels from (x1, y1) to (x2, y2).
  void DrawLine(const Pen& pen, int x1, int y1, int x2, int y2);

  // UTF-8 text (up to its first NUL) laid out in a rectangle: wrapped at word boundaries to the
  // width unless the format says no-wrap, aligned as the format says, explicit line breaks kept,
  // and clipped to the rectangle. A side of zero leaves the text unbounded that way: a rectangle of
  // zero width and height lays the text out from its corner without wrapping or clipping.
  void DrawText(std::string_view text, const Font& font, const SolidBrush& brush,
                const RectF& layout, const StringFormat& format = {});

 private:
  void SetSource(Argb color);
  detail::CairoPtr cr_;
  std::unique_ptr<TextLayoutCache> layoutCache_;
};

}  // namespace vexmor::platform
