#include "ui/button.h"

namespace vexmor {

Button::Button(const std::optional<platform::Bitmap>& normal,
               const std::optional<platform::Bitmap>& hover,
               const std::optional<platform::Bitmap>& pressed,
               const std::optional<platform::Bitmap>& disabled)
    : normalImage(MakeCachedBitmap(normal)),
      hoverImage(MakeCachedBitmap(hover)),
      pressedImage(MakeCachedBitmap(pressed)),
      disabledImage(MakeCachedBitmap(disabled)) {}

void Button::Place(std::int32_t newX, std::int32_t newY, std::int32_t newWidth,
                   std::int32_t newHeight) {
  x = newX;
  y = newY;
  width = newWidth;
  height = newHeight;
  const std::int32_t cx = x + width / 2;
  const std::int32_t cy = y + height / 2;
  const std::int32_t right = x + width;
  const std::int32_t bottom = y + height;
  anchors.topLeft = {x, y};
  anchors.topCenter = {cx, y};
  anchors.topRight = {right, y};
  anchors.middleLeft = {x, cy};
  anchors.center = {cx, cy};
  anchors.middleRight = {right, cy};
  anchors.bottomLeft = {x, bottom};
  anchors.bottomCenter = {cx, bottom};
  anchors.bottomRight = {right, bottom};
}

const CachedImage& Button::CurrentImage() const {
  if (disabled) return disabledImage;
  if (pressed) return pressedImage;
  if (hovered) return hoverImage;
  return normalImage;
}

bool Button::HitTest(std::int32_t px, std::int32_t py) const {
  const std::int64_t leftOf = std::int64_t(x) - px;
  if (leftOf > 0 && leftOf <= leftSlack) px = x;
  return x <= px && px < x + width && y <= py && py < y + height;
}

void Button::OnPress(DirtyRects& repaint, std::int32_t px, std::int32_t py, bool& taken) {
  if (!HitTest(px, py)) return;
  if (!disabled && !pressed) {
    pressed = true;
    Invalidate(repaint);
  }
  taken = true;
}

void Button::OnRelease(DirtyRects& repaint, std::int32_t px, std::int32_t py) {
  if (disabled || !HitTest(px, py)) return;
  hovered = true;
  pressed = false;
  Invalidate(repaint);
  clicked = true;
}

void Button::OnMove(DirtyRects& repaint, std::int32_t px, std::int32_t py) {
  if (disabled) return;
  if (HitTest(px, py)) {
    if (!hovered && !pressed) {
      hovered = true;
      Invalidate(repaint);
    }
  } else if (hovered || pressed) {
    hovered = false;
    pressed = false;
    Invalidate(repaint);
  }
}

}  // namespace vexmor
