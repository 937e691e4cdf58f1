// 194: the application icon, one image per size, each drawn at its own size so the small ones
// stay sharp: a bold gold V on a night-blue tile with a thin bright rim. From 48 pixels up the tile
// also shows a moon glow and a few stars; below that only the V and the tile remain, so the icon
// still reads at 16 pixels.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artgen/artwork.h"

namespace vexmor::artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

void TileOutline(cairo_t* cr, double size, double margin) {
  const double r = size * 0.22, lo = margin, hi = size - margin;
  cairo_new_sub_path(cr);
  cairo_arc(cr, hi - r, lo + r, r, -kPi / 2, 0);
  cairo_arc(cr, hi - r, hi - r, r, 0, kPi / 2);
  cairo_arc(cr, lo + r, hi - r, r, kPi / 2, kPi);
  cairo_arc(cr, lo + r, lo + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

// The V as a filled outline: two strokes meeting in a point. Small icons get a wider V so its
// notch stays open.
void VShape(cairo_t* cr, double s, bool detailed) {
  const double top = s * (detailed ? 0.24 : 0.19), bottom = s * (detailed ? 0.78 : 0.81);
  const double left = s * (detailed ? 0.20 : 0.13), right = s - left;
  const double weight = s * (detailed ? 0.15 : 0.2);
  cairo_move_to(cr, left, top);
  cairo_line_to(cr, left + weight, top);
  cairo_line_to(cr, s / 2, bottom - weight * 1.55);
  cairo_line_to(cr, right - weight, top);
  cairo_line_to(cr, right, top);
  cairo_line_to(cr, s / 2 + weight * 0.45, bottom);
  cairo_line_to(cr, s / 2 - weight * 0.45, bottom);
  cairo_close_path(cr);
}

Image AppIcon(int size) {
  const double s = size;
  const bool detailed = size >= 48;
  const double margin = size <= 16 ? 0 : s * 0.03;
  Image tile(size, size);
  {
    auto cr = tile.Draw();
    TileOutline(cr.get(), s, margin);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, s);
    cairo_pattern_add_color_stop_rgb(fill, 0, 0.15, 0.18, 0.36);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0.03, 0.04, 0.10);
    cairo_set_source(cr.get(), fill);
    cairo_fill_preserve(cr.get());
    cairo_pattern_destroy(fill);
    if (detailed) {
      // Moonlight from the upper right, and a few stars.
      cairo_pattern_t* glow = cairo_pattern_create_radial(s * 0.78, s * 0.2, 0, s * 0.78, s * 0.2, s * 0.6);
      cairo_pattern_add_color_stop_rgba(glow, 0, 0.72, 0.78, 0.98, 0.35);
      cairo_pattern_add_color_stop_rgba(glow, 1, 0.72, 0.78, 0.98, 0);
      cairo_set_source(cr.get(), glow);
      cairo_fill(cr.get());
      cairo_pattern_destroy(glow);
      cairo_set_source_rgba(cr.get(), 1, 1, 1, 0.8);
      const double stars[][3] = {{0.16, 0.14, 0.012}, {0.34, 0.10, 0.008}, {0.88, 0.42, 0.009}, {0.12, 0.55, 0.007}};
      for (const auto& star : stars) {
        cairo_new_sub_path(cr.get());
        cairo_arc(cr.get(), star[0] * s, star[1] * s, std::max(0.6, star[2] * s), 0, 2 * kPi);
      }
      cairo_fill(cr.get());
      TileOutline(cr.get(), s, margin);
    }
    // Rim: a fine light edge that separates the tile from dark desktops.
    cairo_set_line_width(cr.get(), std::max(1.0, s * 0.02));
    cairo_set_source_rgba(cr.get(), 0.75, 0.80, 1.0, detailed ? 0.45 : 0.35);
    cairo_stroke(cr.get());
  }

  Image letter(size, size);
  {
    auto cr = letter.Draw();
    VShape(cr.get(), s, detailed);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, s * 0.24, 0, s * 0.78);
    cairo_pattern_add_color_stop_rgb(gold, 0, 1.0, 0.84, 0.45);
    cairo_pattern_add_color_stop_rgb(gold, 1, 0.95, 0.50, 0.12);
    cairo_set_source(cr.get(), gold);
    cairo_fill(cr.get());
    cairo_pattern_destroy(gold);
  }
  if (detailed) {
    Composite(tile, Blurred(Tinted(letter, {1.0, 0.6, 0.2, 0.8}), s * 0.04));
    Composite(tile, Blurred(Tinted(letter, {0, 0, 0, 0.6}), s * 0.012), 0, s * 0.012);
  }
  Composite(tile, letter);
  return tile;
}

}  // namespace

void PaintAppIcon(const ImageFolder& images) {
  for (int size : {256, 128, 64, 48, 32, 16}) {
    images.Save(AppIcon(size), "194_icon_" + std::to_string(size) + ".png");
  }
}

}  // namespace vexmor::artgen
