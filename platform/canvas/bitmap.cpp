#include "platform/canvas/bitmap.h"

#include <cairo.h>

#include <cstring>

namespace vexmor::platform {
namespace {

struct ByteReader {
  std::span<const std::uint8_t> bytes;
  std::size_t offset = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->bytes.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes.data() + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Bitmap Bitmap::Create(int width, int height) {
  return Bitmap(detail::SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)));
}

std::optional<Bitmap> Bitmap::DecodePng(std::span<const std::uint8_t> bytes) {
  ByteReader reader{bytes};
  detail::SurfacePtr surface(cairo_image_surface_create_from_png_stream(&ReadBytes, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  return Bitmap(std::move(surface));
}

int Bitmap::Width() const { return cairo_image_surface_get_width(surface_.get()); }
int Bitmap::Height() const { return cairo_image_surface_get_height(surface_.get()); }

Bitmap Bitmap::Scaled(int width, int height) const {
  const cairo_format_t format = cairo_image_surface_get_format(surface_.get());
  detail::SurfacePtr target(cairo_image_surface_create(format, width, height));
  if (width > 0 && height > 0 && Width() > 0 && Height() > 0) {
    detail::CairoPtr cr(cairo_create(target.get()));
    cairo_scale(cr.get(), double(width) / Width(), double(height) / Height());
    cairo_set_source_surface(cr.get(), surface_.get(), 0, 0);
    // Repeat the edge pixels outward so the borders do not fade into transparency.
    cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
  }
  cairo_surface_flush(target.get());
  return Bitmap(std::move(target));
}

std::uint32_t Bitmap::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  cairo_surface_flush(surface_.get());
  const auto* row = cairo_image_surface_get_data(surface_.get()) +
                    std::size_t(y) * cairo_image_surface_get_stride(surface_.get());
  std::uint32_t pixel;
  std::memcpy(&pixel, row + std::size_t(x) * 4, 4);
  if (cairo_image_surface_get_format(surface_.get()) != CAIRO_FORMAT_ARGB32) pixel |= 0xFF000000u;
  return pixel;
}

Bitmap::PixelView Bitmap::Pixels() const {
  cairo_surface_flush(surface_.get());
  return {cairo_image_surface_get_data(surface_.get()), Width(), Height(),
          cairo_image_surface_get_stride(surface_.get())};
}

bool Bitmap::SavePng(const std::filesystem::path& file) const {
  return cairo_surface_write_to_png(surface_.get(), file.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace vexmor::platform
