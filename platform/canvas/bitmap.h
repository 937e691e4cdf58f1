#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "platform/canvas/c_handles.h"

namespace vexmor::platform {

// A decoded raster image in memory (32-bit, premultiplied alpha; opaque images may carry no alpha
// channel). Copies made from it keep its pixel format.
class Bitmap {
 public:
  // A new image of the given size, every pixel transparent black, with an alpha channel.
  static Bitmap Create(int width, int height);
  // Decodes PNG bytes; none when the bytes are not a PNG image the decoder can read.
  static std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes);

  int Width() const;
  int Height() const;

  // A new image of exactly width x height holding this one stretched over it, same pixel format.
  Bitmap Scaled(int width, int height) const;

  // The pixel at (x, y) as premultiplied ARGB; opaque formats read with alpha 0xFF. Outside the
  // image: 0.
  std::uint32_t PixelAt(int x, int y) const;

  // The rows of pixels as they are in memory, for copying to a screen: premultiplied ARGB in native
  // byte order, `stride` bytes from one row to the next. Drawing must have finished.
  struct PixelView {
    const std::uint8_t* data;
    int width;
    int height;
    int stride;
  };
  PixelView Pixels() const;

  // Writes the image as a PNG file; false when that fails.
  bool SavePng(const std::filesystem::path& file) const;

  cairo_surface_t* Surface() const { return surface_.get(); }

 private:
  explicit Bitmap(detail::SurfacePtr surface) : surface_(std::move(surface)) {}
  detail::SurfacePtr surface_;
};

}  // namespace vexmor::platform
