// 194: the application icon, one image per size, each drawn at its own size so the small ones
// stay sharp: a bold V chevron in warm orange on a dark rounded square.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artgen/artwork.h"

namespace vexmor::artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

Image AppIcon(int size) {
  Image icon(size, size);
  auto cr = icon.Draw();
  const double s = size, r = s * 0.2, m = size <= 16 ? 0 : s * 0.04;
  cairo_new_sub_path(cr.get());
  cairo_arc(cr.get(), s - m - r, m + r, r, -kPi / 2, 0);
  cairo_arc(cr.get(), s - m - r, s - m - r, r, 0, kPi / 2);
  cairo_arc(cr.get(), m + r, s - m - r, r, kPi / 2, kPi);
  cairo_arc(cr.get(), m + r, m + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr.get());
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, s);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.13, 0.16, 0.30);
  cairo_pattern_add_color_stop_rgb(fill, 1, 0.04, 0.05, 0.11);
  cairo_set_source(cr.get(), fill);
  cairo_fill(cr.get());
  cairo_pattern_destroy(fill);

  cairo_move_to(cr.get(), s * 0.24, s * 0.26);
  cairo_line_to(cr.get(), s * 0.5, s * 0.76);
  cairo_line_to(cr.get(), s * 0.76, s * 0.26);
  cairo_set_source_rgb(cr.get(), 1.0, 0.62, 0.18);
  cairo_set_line_width(cr.get(), std::max(2.0, s * 0.14));
  cairo_set_line_cap(cr.get(), CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr.get(), CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr.get());
  return icon;
}

}  // namespace

void PaintAppIcon(const ImageFolder& images) {
  for (int size : {256, 128, 64, 48, 32, 16}) {
    images.Save(AppIcon(size), "194_icon_" + std::to_string(size) + ".png");
  }
}

}  // namespace vexmor::artgen
