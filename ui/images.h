#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/cached_bitmap.h"

namespace vexmor {

// An image prepared for drawing, shared by every widget that shows it; null when its resource
// could not be decoded (then nothing is drawn for it).
using CachedImage = std::shared_ptr<const platform::CachedBitmap>;

struct ImageSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const ImageSize&) const = default;
};

// The size of a design-size image at the window scale, aspect ratio kept: an image wider than tall
// has its width scaled and its height derived from the ratio; any other (squares included) has its
// height scaled and its width derived. Every step truncates toward zero.
ImageSize FitToScale(std::int32_t designWidth, std::int32_t designHeight, float scale);

// The embedded PNG image with this id, decoded; none when there is no such image.
std::optional<platform::Bitmap> LoadPngResource(int id);

// The embedded PNG image at the window scale (FitToScale of its own size).
std::optional<platform::Bitmap> LoadScaledPng(int id, float scale);

// The embedded PNG image stretched to exactly width x height, whatever its aspect ratio.
std::optional<platform::Bitmap> LoadPngSized(int id, std::int32_t width, std::int32_t height);

// An image ready to be drawn unscaled many times; null for a missing bitmap.
CachedImage MakeCachedBitmap(const std::optional<platform::Bitmap>& source);

}  // namespace vexmor
