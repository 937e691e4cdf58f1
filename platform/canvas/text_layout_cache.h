#pragma once

#include <pango/pango.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/font.h"

namespace vexmor::platform {

// Texts laid out by Pango, kept for reuse: most texts of a scene are the same from one paint to
// the next, and shaping them again would be most of a paint's cost.
class TextLayoutCache {
 public:
  struct Layout {
    PangoLayout* layout;
    PangoRectangle extents;  // logical extents in pixels
  };

  // The text laid out in the font, wrapped at word boundaries to `width` Pango units (not at all
  // when negative) and aligned.
  Layout Get(const Font& font, std::string_view text, int width, PangoAlignment alignment);

 private:
  struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
  };
  struct Entry {
    // The layout holds a reference to the font's context, so the context's address cannot be
    // reused by another font while the entry exists.
    PangoContext* context;
    std::string text;
    int width;
    PangoAlignment alignment;
    std::unique_ptr<PangoLayout, LayoutDeleter> layout;
    PangoRectangle extents;
    std::uint64_t lastUse;
  };
  static constexpr std::size_t kCapacity = 48;

  std::vector<Entry> entries_;
  std::uint64_t uses_ = 0;
};

}  // namespace vexmor::platform
