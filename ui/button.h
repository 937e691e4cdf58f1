#pragma once

#include <cstdint>
#include <optional>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/geometry.h"
#include "ui/dirty_rects.h"
#include "ui/images.h"

namespace vexmor {

// The nine reference points of a widget's rectangle, which the layout places other widgets by.
struct Anchors {
  platform::Point topLeft, topCenter, topRight;
  platform::Point middleLeft, center, middleRight;
  platform::Point bottomLeft, bottomCenter, bottomRight;
  bool operator==(const Anchors&) const = default;
};

// A clickable rectangle with one image per state. It records hover, press and click and asks for
// its own repaint when its look changes; it never acts on a click itself: the frame tick reads and
// clears `clicked`.
class Button {
 public:
  // Each image becomes its own cached image, even when the same bitmap is given twice.
  Button(const std::optional<platform::Bitmap>& normal,
         const std::optional<platform::Bitmap>& hover,
         const std::optional<platform::Bitmap>& pressed,
         const std::optional<platform::Bitmap>& disabled);
  virtual ~Button() = default;
  Button(const Button&) = delete;
  Button& operator=(const Button&) = delete;

  // Sets the rectangle and its anchors; every change of geometry goes through here.
  void Place(std::int32_t newX, std::int32_t newY, std::int32_t newWidth, std::int32_t newHeight);

  // The image of the current state: disabled over pressed over hovered over normal.
  const CachedImage& CurrentImage() const;

  // Left and top edges inside, right and bottom outside; a point up to `leftSlack` pixels left of
  // the button counts as on its left edge.
  bool HitTest(std::int32_t px, std::int32_t py) const;

  // Mouse button down. Sets `taken` when the point is inside, also while disabled, so the press
  // never drags the window; a disabled button swallows the press and changes nothing else.
  void OnPress(DirtyRects& repaint, std::int32_t px, std::int32_t py, bool& taken);
  // Mouse button up: any release inside an enabled button is a click, pressed before or not.
  void OnRelease(DirtyRects& repaint, std::int32_t px, std::int32_t py);
  // Mouse moved; (-1, -1) when it left the window.
  void OnMove(DirtyRects& repaint, std::int32_t px, std::int32_t py);

  platform::Rect Bounds() const { return {x, y, x + width, y + height}; }

  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  Anchors anchors;
  std::int32_t leftSlack = 0;
  bool hovered = false;
  bool pressed = false;
  bool clicked = false;
  bool disabled = false;
  CachedImage normalImage;
  CachedImage hoverImage;
  CachedImage pressedImage;
  CachedImage disabledImage;

 private:
  void Invalidate(DirtyRects& repaint) const { repaint.Add(Bounds(), false); }
};

}  // namespace vexmor
