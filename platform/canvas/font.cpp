#include "platform/canvas/font.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include "platform/canvas/font_collection_state.h"

namespace vexmor::platform {
namespace {

struct FontOptionsDeleter {
  void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};

}  // namespace

Font::Font(const FontCollection::Family& family, float emPixels, FontWeight weight)
    : collection_(family.collection),
      context_(pango_font_map_create_context(collection_->fontMap.get())),
      description_(pango_font_description_new()),
      emPixels_(emPixels) {
  // Stated explicitly so text renders the same whatever the desktop's font settings are.
  std::unique_ptr<cairo_font_options_t, FontOptionsDeleter> options(cairo_font_options_create());
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_.get(), options.get());

  pango_font_description_set_family(description_.get(), family.name.c_str());
  pango_font_description_set_weight(
      description_.get(), weight == FontWeight::Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(description_.get(), double(emPixels) * PANGO_SCALE);
}

}  // namespace vexmor::platform
