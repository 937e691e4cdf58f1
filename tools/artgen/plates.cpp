// The caption buttons: PLAY, PLAY LITE and CANCEL on translucent black plates, WEBSITE in orange
// on a dark textured plate, FORUM in white on a grey textured plate. Each in four variants, saved
// as consecutive ids: plain, dimmed (pressed), glow (hover) and three dots instead of the caption
// (disabled).
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artgen/artwork.h"
#include "tools/artgen/noise.h"

namespace vexmor::artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Plate {
  int firstId;
  std::string name;
  int width, height;
  std::string caption;
  TextStyle captionStyle;
  Color captionColor;
  Color fill;
  Color accent;    // the thin line of light along the plate's lower edge
  double texture;  // strength of the surface grain
  std::uint32_t seed;
};

enum class Variant { Plain, Dimmed, Glow, Dots };

constexpr double kInset = 3;

double CornerCut(const Plate& plate) { return std::min(14.0, plate.height * 0.14); }

// The plate's outline: a rectangle with two opposite corners cut off.
void PlateOutline(cairo_t* cr, const Plate& plate) {
  const double left = kInset, top = kInset, right = plate.width - kInset, bottom = plate.height - kInset;
  const double cut = CornerCut(plate);
  cairo_new_sub_path(cr);
  cairo_move_to(cr, left + cut, top);
  cairo_line_to(cr, right, top);
  cairo_line_to(cr, right, bottom - cut);
  cairo_line_to(cr, right - cut, bottom);
  cairo_line_to(cr, left, bottom);
  cairo_line_to(cr, left, top + cut);
  cairo_close_path(cr);
}

// A line of light along the lower edge, brightest in the middle; on hover it blooms.
void PaintAccent(Image& image, const Plate& plate, Variant variant) {
  const double strength = variant == Variant::Glow ? 1.0 : variant == Variant::Plain ? 0.75 : 0.3;
  const Color color = variant == Variant::Dots ? Color{0.6, 0.6, 0.62, 1} : plate.accent;
  Image line(plate.width, plate.height);
  {
    auto cr = line.Draw();
    // Ends short of the cut corner at the lower right.
    const double y = plate.height - kInset - 2.5, cut = CornerCut(plate);
    cairo_pattern_t* fade = cairo_pattern_create_linear(kInset, 0, plate.width - kInset - cut, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0.0, color.r, color.g, color.b, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0.5, color.r, color.g, color.b, strength);
    cairo_pattern_add_color_stop_rgba(fade, 1.0, color.r, color.g, color.b, 0);
    cairo_set_source(cr.get(), fade);
    cairo_rectangle(cr.get(), kInset, y - 1, plate.width - 2 * kInset - cut, 2);
    cairo_fill(cr.get());
    cairo_pattern_destroy(fade);
  }
  if (variant == Variant::Glow) Composite(image, Blurred(line, 5), 0, -3);
  Composite(image, line);
}

// The plate's surface: its colour with a seeded grain, a sheen on the upper half and a fine rim.
Image PlateImage(const Plate& plate, Variant variant) {
  Image image(plate.width, plate.height);
  {
    auto cr = image.Draw();
    PlateOutline(cr.get(), plate);
    SetColor(cr.get(), plate.fill);
    cairo_fill(cr.get());
  }
  for (int y = 0; y < plate.height; ++y) {
    for (int x = 0; x < plate.width; ++x) {
      const Pixel p = image.At(x, y);
      if (p.a == 0) continue;
      const double grain = FractalNoise(x / 23.0, y / 9.0, plate.seed, 4) - 0.5 +
                           0.5 * (GradientNoise(x * 0.9, y * 0.9, plate.seed + 7) - 0.5);
      const auto shade = [&](std::uint8_t c) {
        return static_cast<std::uint8_t>(std::clamp(c + plate.texture * 255 * grain, 0.0, 255.0));
      };
      image.Set(x, y, {shade(p.r), shade(p.g), shade(p.b), p.a});
    }
  }
  auto cr = image.Draw();
  PlateOutline(cr.get(), plate);
  cairo_pattern_t* sheen = cairo_pattern_create_linear(0, kInset, 0, plate.height / 2.0);
  cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, variant == Variant::Glow ? 0.16 : 0.08);
  cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
  cairo_set_source(cr.get(), sheen);
  cairo_fill_preserve(cr.get());
  cairo_pattern_destroy(sheen);
  if (variant == Variant::Dimmed) {
    SetColor(cr.get(), {0, 0, 0, 0.25});
    cairo_fill_preserve(cr.get());
  }
  const double rimAlpha = variant == Variant::Glow ? 0.5 : variant == Variant::Dimmed ? 0.12 : 0.22;
  SetColor(cr.get(), {1, 1, 1, rimAlpha});
  cairo_set_line_width(cr.get(), 1.5);
  cairo_stroke(cr.get());
  cr.reset();
  PaintAccent(image, plate, variant);
  return image;
}

// The caption (or the three dots) alone, on a transparent image of the plate's size.
Image CaptionImage(const Plate& plate, Variant variant, const Fonts& fonts) {
  Image image(plate.width, plate.height);
  auto cr = image.Draw();
  SetColor(cr.get(), plate.captionColor);
  const double cx = plate.width / 2.0, cy = plate.height / 2.0;
  if (variant == Variant::Dots) {
    const double r = plate.captionStyle.pixels * 0.085, gap = r * 3.4;
    for (int i = -1; i <= 1; ++i) {
      cairo_new_sub_path(cr.get());
      cairo_arc(cr.get(), cx + i * gap, cy, r, 0, 2 * kPi);
    }
  } else {
    fonts.AppendCenteredText(cr.get(), plate.caption, plate.captionStyle, cx, cy);
  }
  cairo_fill(cr.get());
  return image;
}

Image ButtonImage(const Plate& plate, Variant variant, const Fonts& fonts) {
  Image button = PlateImage(plate, variant);
  Image caption = CaptionImage(plate, variant, fonts);
  if (variant == Variant::Dimmed) Darken(caption, 0.55);
  if (variant == Variant::Dots) {
    Image faded(plate.width, plate.height);
    Composite(faded, caption, 0, 0, 0.7);
    caption = std::move(faded);
  }
  // A soft shadow keeps the caption legible over whatever the plate lets through.
  Composite(button, Blurred(Tinted(caption, {0, 0, 0, 1}), 2.5), 0, 1.5, 0.8);
  if (variant == Variant::Glow) {
    const Color halo{plate.captionColor.r, plate.captionColor.g, plate.captionColor.b, 0.9};
    Composite(button, WithGlow(caption, halo, plate.captionStyle.pixels * 0.06, plate.captionStyle.pixels * 0.2));
  } else {
    Composite(button, caption);
  }
  return button;
}

void SaveVariants(const ImageFolder& images, const Plate& plate, const Fonts& fonts) {
  const struct {
    Variant variant;
    const char* suffix;
  } variants[] = {{Variant::Plain, ""}, {Variant::Dimmed, "_dimmed"}, {Variant::Glow, "_glow"}, {Variant::Dots, "_dots"}};
  for (int i = 0; i < 4; ++i) {
    images.Save(ButtonImage(plate, variants[i].variant, fonts),
                std::to_string(plate.firstId + i) + "_" + plate.name + variants[i].suffix + ".png");
  }
}

}  // namespace

void PaintPlates(const ImageFolder& images, const Fonts& fonts) {
  constexpr Color kWhite{1, 1, 1, 1};
  constexpr Color kOrange{1.0, 0.58, 0.16, 1};
  constexpr Color kBlackPlate{0.02, 0.02, 0.03, 0.62};
  constexpr Color kGold{1.0, 0.72, 0.30, 1};
  const Plate plates[] = {
      {168, "play", 448, 162, "PLAY", {76, true, 12}, kWhite, kBlackPlate, kGold, 0.05, 11},
      {199, "play_lite", 448, 90, "PLAY LITE", {38, true, 6}, kWhite, kBlackPlate, kGold, 0.05, 12},
      {203, "cancel", 448, 162, "CANCEL", {62, true, 8}, kWhite, kBlackPlate, {0.85, 0.87, 0.95, 1}, 0.05, 13},
      {211, "website", 268, 90, "WEBSITE", {31, true, 3}, kOrange, {0.10, 0.09, 0.08, 0.9}, kOrange, 0.08, 14},
      {215, "forum", 268, 90, "FORUM", {31, true, 3}, kWhite, {0.36, 0.37, 0.39, 0.9}, kWhite, 0.10, 15},
  };
  for (const auto& plate : plates) SaveVariants(images, plate, fonts);
}

}  // namespace vexmor::artgen
