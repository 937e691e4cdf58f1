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
  double texture;  // strength of the surface grain
  std::uint32_t seed;
};

enum class Variant { Plain, Dimmed, Glow, Dots };

constexpr double kInset = 3, kRadius = 6;

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void PlateOutline(cairo_t* cr, const Plate& plate) {
  RoundedRect(cr, kInset, kInset, plate.width - 2 * kInset, plate.height - 2 * kInset, kRadius);
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
      Pixel p = image.At(x, y);
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
  const double rimAlpha = variant == Variant::Glow ? 0.55 : variant == Variant::Dimmed ? 0.12 : 0.25;
  SetColor(cr.get(), {1, 1, 1, rimAlpha});
  cairo_set_line_width(cr.get(), 1.5);
  cairo_stroke(cr.get());
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
    Composite(button, WithGlow(caption, halo, plate.captionStyle.pixels * 0.12, 2));
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
  const Plate plates[] = {
      {168, "play", 448, 162, "PLAY", {76, true, 12}, kWhite, kBlackPlate, 0.05, 11},
      {199, "play_lite", 448, 90, "PLAY LITE", {38, true, 6}, kWhite, kBlackPlate, 0.05, 12},
      {203, "cancel", 448, 162, "CANCEL", {62, true, 8}, kWhite, kBlackPlate, 0.05, 13},
      {211, "website", 268, 90, "WEBSITE", {31, true, 3}, kOrange, {0.10, 0.09, 0.08, 0.9}, 0.08, 14},
      {215, "forum", 268, 90, "FORUM", {31, true, 3}, kWhite, {0.36, 0.37, 0.39, 0.9}, 0.10, 15},
  };
  for (const auto& plate : plates) SaveVariants(images, plate, fonts);
}

}  // namespace vexmor::artgen
