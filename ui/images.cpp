#include "ui/images.h"

#include "resources/resources.h"

namespace vexmor {

ImageSize FitToScale(std::int32_t designWidth, std::int32_t designHeight, float scale) {
  if (designWidth <= 0 || designHeight <= 0) return {};  // no ratio to keep
  const double ratio = double(designWidth) / double(designHeight);
  ImageSize size;
  if (designWidth > designHeight) {
    size.width = std::int32_t(float(designWidth) * scale);
    size.height = std::int32_t(double(size.width) / ratio);
  } else {
    size.height = std::int32_t(float(designHeight) * scale);
    size.width = std::int32_t(double(size.height) * ratio);
  }
  return size;
}

std::optional<platform::Bitmap> LoadPngResource(int id) {
  const auto bytes = FindResource(id);
  if (bytes.empty()) return std::nullopt;
  return platform::Bitmap::DecodePng(bytes);
}

std::optional<platform::Bitmap> LoadScaledPng(int id, float scale) {
  const auto source = LoadPngResource(id);
  if (!source) return std::nullopt;
  const ImageSize size = FitToScale(source->Width(), source->Height(), scale);
  return source->Scaled(size.width, size.height);
}

std::optional<platform::Bitmap> LoadPngSized(int id, std::int32_t width, std::int32_t height) {
  const auto source = LoadPngResource(id);
  if (!source) return std::nullopt;
  return source->Scaled(width, height);
}

CachedImage MakeCachedBitmap(const std::optional<platform::Bitmap>& source) {
  if (!source) return nullptr;
  return std::make_shared<const platform::CachedBitmap>(*source);
}

}  // namespace vexmor
