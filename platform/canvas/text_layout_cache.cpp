#include "platform/canvas/text_layout_cache.h"

#include <algorithm>

namespace vexmor::platform {

TextLayoutCache::Layout TextLayoutCache::Get(const Font& font, std::string_view text, int width,
                                             PangoAlignment alignment) {
  ++uses_;
  for (Entry& entry : entries_) {
    if (entry.context == font.Context() && entry.width == width && entry.alignment == alignment &&
        entry.text == text) {
      entry.lastUse = uses_;
      return {entry.layout.get(), entry.extents};
    }
  }

  std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_layout_new(font.Context()));
  pango_layout_set_font_description(layout.get(), font.Description());
  pango_layout_set_text(layout.get(), text.data(), int(text.size()));
  pango_layout_set_alignment(layout.get(), alignment);
  if (width >= 0) {
    pango_layout_set_width(layout.get(), width);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  PangoRectangle extents;
  pango_layout_get_pixel_extents(layout.get(), nullptr, &extents);

  Entry fresh{font.Context(),    std::string(text), width, alignment,
              std::move(layout), extents,           uses_};
  if (entries_.size() < kCapacity) {
    entries_.push_back(std::move(fresh));
    return {entries_.back().layout.get(), extents};
  }
  auto oldest =
      std::min_element(entries_.begin(), entries_.end(),
                       [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
  *oldest = std::move(fresh);
  return {oldest->layout.get(), extents};
}

}  // namespace vexmor::platform
