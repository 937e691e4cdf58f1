#pragma once

#include "platform/canvas/geometry.h"

namespace vexmor::platform {

struct SolidBrush {
  Argb color = 0;
};

struct Pen {
  Argb color = 0;
  float width = 1.0f;
};

enum class TextAlign { Near, Center, Far };

// How text sits in its layout rectangle. The default is what text without a format gets: top-left,
// wrapped at word boundaries to the rectangle's width.
struct StringFormat {
  TextAlign horizontal = TextAlign::Near;
  TextAlign vertical = TextAlign::Near;
  bool noWrap = false;
};

}  // namespace vexmor::platform
