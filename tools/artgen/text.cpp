#include "tools/artgen/text.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <stdexcept>

namespace vexmor::artgen {
namespace {

void AddFont(FcConfig* config, const std::filesystem::path& file) {
  const auto name = file.string();
  if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(name.c_str()))) {
    throw std::runtime_error("cannot load font " + name);
  }
}

std::string FamilyOf(FcConfig* config) {
  FcFontSet* fonts = FcConfigGetFonts(config, FcSetApplication);
  FcChar8* family = nullptr;
  if (!fonts || fonts->nfont == 0 || FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &family) != FcResultMatch) {
    throw std::runtime_error("the loaded fonts name no family");
  }
  return reinterpret_cast<const char*>(family);
}

}  // namespace

Fonts::Fonts(const std::filesystem::path& fontsFolder) : config_(FcConfigCreate()) {
  if (!config_) throw std::runtime_error("cannot create a font configuration");
  AddFont(config_.get(), fontsFolder / "OpenSans-Regular.ttf");
  AddFont(config_.get(), fontsFolder / "OpenSans-Bold.ttf");
  family_ = FamilyOf(config_.get());
  // Pango must find only this configuration, never the system one.
  FcConfigSetCurrent(config_.get());
  fontMap_.reset(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
  if (!fontMap_) throw std::runtime_error("cannot create a font map");
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_.get()), config_.get());
}

void Fonts::AppendCenteredText(cairo_t* cr, const std::string& text, const TextStyle& style, double centerX,
                               double centerY) const {
  std::unique_ptr<PangoContext, GObjectDeleter> context(pango_font_map_create_context(fontMap_.get()));
  // Unhinted grey outlines: the same shapes on every machine.
  std::unique_ptr<cairo_font_options_t, decltype(&cairo_font_options_destroy)> options(cairo_font_options_create(),
                                                                                        cairo_font_options_destroy);
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context.get(), options.get());
  pango_cairo_context_set_resolution(context.get(), 72.0);

  std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_layout_new(context.get()));
  std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> font(
      pango_font_description_new(), pango_font_description_free);
  pango_font_description_set_family(font.get(), family_.c_str());
  pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font.get(), style.pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font.get());

  std::unique_ptr<PangoAttrList, decltype(&pango_attr_list_unref)> attributes(pango_attr_list_new(),
                                                                              pango_attr_list_unref);
  pango_attr_list_insert(attributes.get(), pango_attr_letter_spacing_new(int(style.letterSpacing * PANGO_SCALE)));
  pango_layout_set_attributes(layout.get(), attributes.get());
  pango_layout_set_text(layout.get(), text.c_str(), int(text.size()));

  PangoRectangle ink;
  pango_layout_get_extents(layout.get(), &ink, nullptr);
  const double inkX = double(ink.x) / PANGO_SCALE, inkY = double(ink.y) / PANGO_SCALE;
  const double inkWidth = double(ink.width) / PANGO_SCALE, inkHeight = double(ink.height) / PANGO_SCALE;
  cairo_move_to(cr, centerX - inkX - inkWidth / 2, centerY - inkY - inkHeight / 2);
  pango_cairo_layout_path(cr, layout.get());
}

}  // namespace vexmor::artgen
