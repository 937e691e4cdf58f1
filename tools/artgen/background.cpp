// 152: the 1920 x 1080 background, fully opaque: a night sky over layered mountain ridges.
#include <cmath>

#include "tools/artgen/artwork.h"
#include "tools/artgen/noise.h"

namespace vexmor::artgen {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;

void PaintSky(Image& image) {
  auto cr = image.Draw();
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kHeight);
  cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.02, 0.03, 0.08);
  cairo_pattern_add_color_stop_rgb(sky, 0.6, 0.10, 0.12, 0.24);
  cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.20, 0.16, 0.22);
  cairo_set_source(cr.get(), sky);
  cairo_paint(cr.get());
  cairo_pattern_destroy(sky);
}

void PaintRidge(Image& image, double base, double amplitude, Color color, std::uint32_t seed) {
  auto cr = image.Draw();
  cairo_move_to(cr.get(), 0, kHeight);
  for (int x = 0; x <= kWidth; x += 4) {
    cairo_line_to(cr.get(), x, base - amplitude * FractalNoise(x / 400.0, 0.5, seed, 5));
  }
  cairo_line_to(cr.get(), kWidth, kHeight);
  cairo_close_path(cr.get());
  SetColor(cr.get(), color);
  cairo_fill(cr.get());
}

}  // namespace

void PaintBackground(const ImageFolder& images) {
  Image image(kWidth, kHeight);
  PaintSky(image);
  PaintRidge(image, 820, 420, {0.10, 0.11, 0.20, 1}, 21);
  PaintRidge(image, 900, 360, {0.06, 0.07, 0.13, 1}, 22);
  PaintRidge(image, 1000, 300, {0.03, 0.03, 0.07, 1}, 23);
  images.Save(image, "152_background.png");
}

}  // namespace vexmor::artgen
