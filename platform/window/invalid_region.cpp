#include "platform/window/invalid_region.h"

#include <algorithm>

namespace vexmor::platform {
namespace {

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

void InvalidRegion::Add(PixelRect rect, bool erase) {
  rect = Intersect(rect, bounds_);
  if (rect.IsEmpty()) return;
  erase_ = erase_ || erase;
  if (std::any_of(rects_.begin(), rects_.end(), [&](const PixelRect& r) { return r.Contains(rect); })) {
    return;
  }
  std::erase_if(rects_, [&](const PixelRect& r) { return rect.Contains(r); });
  rects_.push_back(rect);
  if (rects_.size() > kMaxRects) rects_ = {Bounds()};
}

void InvalidRegion::Clear() {
  rects_.clear();
  erase_ = false;
}

PixelRect InvalidRegion::Bounds() const {
  if (rects_.empty()) return {};
  PixelRect around = rects_.front();
  for (const auto& rect : rects_) around = Union(around, rect);
  return around;
}

}  // namespace vexmor::platform
