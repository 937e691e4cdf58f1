// The 60 x 60 line icons of the header, the menu and the question dialog, each in three variants:
// plain white, with a soft white halo (hover) and dimmed (pressed or disabled).
#include <cmath>
#include <functional>
#include <string>

#include "tools/artgen/artwork.h"

namespace vexmor::artgen {
namespace {

constexpr int kSize = 60;
constexpr double kStroke = 3.2;
constexpr double kPi = 3.14159265358979323846;
constexpr Color kWhite{1, 1, 1, 1};
// How much of its brightness a dimmed icon keeps.
constexpr double kDimmed = 0.5;

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
}

void StrokeRound(cairo_t* cr, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void DrawCross(cairo_t* cr) {
  Line(cr, 21, 21, 39, 39);
  Line(cr, 39, 21, 21, 39);
  StrokeRound(cr, kStroke);
}

void DrawMinimize(cairo_t* cr) {
  Line(cr, 21, 39, 39, 39);
  StrokeRound(cr, kStroke);
}

void DrawGear(cairo_t* cr) {
  constexpr int kTeeth = 8;
  constexpr double kOuter = 15.5, kRoot = 11.5, kHole = 5.0;
  const double step = 2 * kPi / kTeeth;
  cairo_translate(cr, 30, 30);
  cairo_new_path(cr);
  // Each tooth: flanks narrowing from the root circle to a flat top.
  for (int i = 0; i < kTeeth; ++i) {
    const double a = i * step - kPi / 2;
    const double rootHalf = step * 0.30, topHalf = step * 0.19;
    // Without a current point, the first line_to starts the outline.
    auto point = [&](double radius, double angle) {
      cairo_line_to(cr, radius * std::cos(angle), radius * std::sin(angle));
    };
    point(kRoot, a - rootHalf);
    point(kOuter, a - topHalf);
    point(kOuter, a + topHalf);
    point(kRoot, a + rootHalf);
    cairo_arc(cr, 0, 0, kRoot, a + rootHalf, a + step - rootHalf);
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 0, 0, kHole, 2 * kPi, 0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
}

void DrawWrench(cairo_t* cr) {
  // Drawn upright (head on top) around the centre, then turned so the head points up and right.
  cairo_translate(cr, 30, 30);
  cairo_rotate(cr, kPi / 4);
  cairo_push_group(cr);
  SetColor(cr, kWhite);
  cairo_arc(cr, 0, -9.5, 8.5, 0, 2 * kPi);
  cairo_fill(cr);
  Line(cr, 0, -6, 0, 15);
  StrokeRound(cr, 6);
  // The jaw: a slot cut into the head from the top.
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, -2.8, -19, 5.6, 9);
  cairo_fill(cr);
  cairo_arc(cr, 0, -10, 2.8, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
}

void DrawDocument(cairo_t* cr) {
  cairo_move_to(cr, 20, 15);
  cairo_line_to(cr, 33, 15);
  cairo_line_to(cr, 41, 23);
  cairo_line_to(cr, 41, 45);
  cairo_line_to(cr, 20, 45);
  cairo_close_path(cr);
  cairo_move_to(cr, 33, 15);
  cairo_line_to(cr, 33, 23);
  cairo_line_to(cr, 41, 23);
  StrokeRound(cr, 2.6);
  Line(cr, 25, 29, 36, 29);
  Line(cr, 25, 34, 36, 34);
  Line(cr, 25, 39, 32, 39);
  StrokeRound(cr, 2.2);
}

void DrawArrowRight(cairo_t* cr) {
  Line(cr, 18, 30, 41, 30);
  cairo_move_to(cr, 32, 21);
  cairo_line_to(cr, 41, 30);
  cairo_line_to(cr, 32, 39);
  StrokeRound(cr, kStroke);
}

void DrawArrowCircular(cairo_t* cr) {
  constexpr double kRadius = 11.5;
  const double start = -60 * kPi / 180, end = 205 * kPi / 180;
  cairo_arc(cr, 30, 30, kRadius, start, end);
  StrokeRound(cr, kStroke);
  // Arrowhead at the end of the arc, pointing along its clockwise direction.
  const double x = 30 + kRadius * std::cos(end), y = 30 + kRadius * std::sin(end);
  const double tx = -std::sin(end), ty = std::cos(end);  // direction of travel
  const double nx = -ty, ny = tx;                        // across the arc
  cairo_move_to(cr, x + tx * 7.5, y + ty * 7.5);
  cairo_line_to(cr, x + nx * 6 - tx * 1.5, y + ny * 6 - ty * 1.5);
  cairo_line_to(cr, x - nx * 6 - tx * 1.5, y - ny * 6 - ty * 1.5);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
}

void DrawCheck(cairo_t* cr) {
  cairo_move_to(cr, 18, 31);
  cairo_line_to(cr, 26, 39);
  cairo_line_to(cr, 42, 21);
  StrokeRound(cr, 3.6);
}

// Saves the plain, glow and dimmed variants of one icon as ids first, first + 1 and first + 2.
void SaveVariants(const ImageFolder& images, int firstId, const std::string& name,
                  const std::function<void(cairo_t*)>& draw) {
  Image plain(kSize, kSize);
  {
    auto cr = plain.Draw();
    SetColor(cr.get(), kWhite);
    draw(cr.get());
  }
  Image dimmed(kSize, kSize);
  Composite(dimmed, plain);
  Darken(dimmed, kDimmed);

  const auto file = [&](int offset, const std::string& suffix) {
    return std::to_string(firstId + offset) + "_" + name + suffix + ".png";
  };
  images.Save(plain, file(0, ""));
  images.Save(WithGlow(plain, kWhite, 2.2, 6.0), file(1, "_glow"));
  images.Save(dimmed, file(2, "_dimmed"));
}

}  // namespace

void PaintIcons(const ImageFolder& images) {
  SaveVariants(images, 156, "close", DrawCross);
  SaveVariants(images, 159, "minimize", DrawMinimize);
  SaveVariants(images, 172, "gear", DrawGear);
  SaveVariants(images, 175, "wrench", DrawWrench);
  SaveVariants(images, 178, "document", DrawDocument);
  SaveVariants(images, 181, "arrow_right", DrawArrowRight);
  SaveVariants(images, 184, "arrow_circular", DrawArrowCircular);
  SaveVariants(images, 196, "check", DrawCheck);
}

}  // namespace vexmor::artgen
