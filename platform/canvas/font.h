#pragma once

#include <memory>
#include <string>

#include "platform/canvas/c_handles.h"
#include "platform/canvas/font_collection.h"

namespace vexmor::platform {

enum class FontWeight { Regular, Bold };

// A family of a private collection at a size in pixels (the em size) and a weight.
class Font {
 public:
  Font(const FontCollection::Family& family, float emPixels, FontWeight weight);

  float EmPixels() const { return emPixels_; }
  PangoContext* Context() const { return context_.get(); }
  const PangoFontDescription* Description() const { return description_.get(); }

 private:
  std::shared_ptr<FontCollection::State> collection_;
  detail::PangoContextPtr context_;
  detail::FontDescriptionPtr description_;
  float emPixels_;
};

}  // namespace vexmor::platform
