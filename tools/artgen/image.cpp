#include "tools/artgen/image.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace vexmor::artgen {
namespace {

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// One box-blur pass of the given radius along rows (horizontal) or columns, over a float plane.
void BoxBlur(std::vector<float>& plane, int width, int height, int radius, bool horizontal) {
  const int length = horizontal ? width : height, lines = horizontal ? height : width;
  const int step = horizontal ? 1 : width;
  std::vector<float> line(length);
  const float scale = 1.0f / float(2 * radius + 1);
  for (int l = 0; l < lines; ++l) {
    float* start = plane.data() + (horizontal ? std::size_t(l) * width : std::size_t(l));
    for (int i = 0; i < length; ++i) line[i] = start[std::size_t(i) * step];
    // Outside the image counts as transparent, so shapes near the edge fade rather than smear.
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < length) ? line[i] : 0.0f;
    for (int i = 0; i < length; ++i) {
      start[std::size_t(i) * step] = float(sum) * scale;
      const int add = i + radius + 1, drop = i - radius;
      if (add < length) sum += line[add];
      if (drop >= 0) sum -= line[drop];
    }
  }
}

}  // namespace

void ContextDeleter::operator()(cairo_t* cr) const {
  cairo_surface_flush(cairo_get_target(cr));
  cairo_destroy(cr);
}

Image::Image(int width, int height)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)) {
  if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot create an image surface");
  }
}

Context Image::Draw() {
  Context cr(cairo_create(surface_.get()));
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot draw");
  return cr;
}

std::uint32_t* Image::Row(int y) {
  cairo_surface_mark_dirty(surface_.get());
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_.get()) +
                                          std::size_t(y) * cairo_image_surface_get_stride(surface_.get()));
}

const std::uint32_t* Image::Row(int y) const {
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_.get()) +
                                                std::size_t(y) * cairo_image_surface_get_stride(surface_.get()));
}

Pixel Image::At(int x, int y) const {
  const std::uint32_t word = Row(y)[x];
  const int a = word >> 24;
  if (a == 0) return {};
  auto straight = [a](std::uint32_t premultiplied) { return ToByte(premultiplied * 255.0 / a); };
  return {straight((word >> 16) & 0xFF), straight((word >> 8) & 0xFF), straight(word & 0xFF),
          static_cast<std::uint8_t>(a)};
}

void Image::Set(int x, int y, Pixel p) {
  auto premultiplied = [&p](std::uint8_t c) { return std::uint32_t(ToByte(c * p.a / 255.0)); };
  Row(y)[x] = std::uint32_t(p.a) << 24 | premultiplied(p.r) << 16 | premultiplied(p.g) << 8 |
              premultiplied(p.b);
}

void SetColor(cairo_t* cr, Color c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

Image Blurred(const Image& source, double sigma) {
  const int w = source.width(), h = source.height();
  // Three box passes of this radius approximate a Gaussian of the given deviation.
  const int radius = std::max(1, int(std::lround(std::sqrt(4.0 * sigma * sigma + 1.0) / 2.0 - 0.5)));
  std::vector<std::vector<float>> planes(4, std::vector<float>(std::size_t(w) * h));
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* row = source.Row(y);
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 4; ++c) planes[c][std::size_t(y) * w + x] = float((row[x] >> (8 * c)) & 0xFF);
    }
  }
  for (auto& plane : planes) {
    for (int pass = 0; pass < 3; ++pass) {
      BoxBlur(plane, w, h, radius, true);
      BoxBlur(plane, w, h, radius, false);
    }
  }
  Image result(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint32_t* row = result.Row(y);
    for (int x = 0; x < w; ++x) {
      const std::size_t i = std::size_t(y) * w + x;
      const std::uint32_t a = ToByte(planes[3][i]);
      std::uint32_t word = a << 24;
      // Rounding can leave a colour a hair above its alpha, which premultiplied data forbids.
      for (int c = 0; c < 3; ++c) word |= std::min<std::uint32_t>(ToByte(planes[c][i]), a) << (8 * c);
      row[x] = word;
    }
  }
  return result;
}

Image Tinted(const Image& source, Color color) {
  Image result(source.width(), source.height());
  auto cr = result.Draw();
  SetColor(cr.get(), color);
  cairo_mask_surface(cr.get(), source.surface(), 0, 0);
  return result;
}

void Composite(Image& target, const Image& source, double x, double y, double opacity,
               cairo_operator_t op) {
  auto cr = target.Draw();
  cairo_set_operator(cr.get(), op);
  cairo_set_source_surface(cr.get(), source.surface(), x, y);
  cairo_paint_with_alpha(cr.get(), opacity);
}

void Darken(Image& image, double factor) {
  for (int y = 0; y < image.height(); ++y) {
    std::uint32_t* row = image.Row(y);
    for (int x = 0; x < image.width(); ++x) {
      std::uint32_t word = row[x] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) word |= std::uint32_t(ToByte(((row[x] >> (8 * c)) & 0xFF) * factor)) << (8 * c);
      row[x] = word;
    }
  }
}

Image WithGlow(const Image& image, Color color, double tightSigma, double wideSigma) {
  const Image shape = Tinted(image, color);
  Image result(image.width(), image.height());
  Composite(result, Blurred(shape, wideSigma));
  Composite(result, Blurred(shape, tightSigma));
  Composite(result, image);
  return result;
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

Color Mix(Color a, Color b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

}  // namespace vexmor::artgen
