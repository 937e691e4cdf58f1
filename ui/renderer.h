#pragma once

#include <cstdint>

#include "platform/canvas/canvas.h"
#include "platform/canvas/font_collection.h"
#include "ui/images.h"

namespace vexmor {

struct LauncherWindow;

// The painting context of the whole scene: the back buffer and its canvas, and every pen, brush,
// format and font the scene draws with, all made once. Colours are ARGB.
class Renderer {
 public:
  Renderer(std::int32_t width, std::int32_t height, const platform::FontCollection::Family& regular,
           const platform::FontCollection::Family& bold, float emPixels);
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  platform::Bitmap backBuffer;
  platform::Canvas backGraphics;
  platform::Pen dimPen{0x96FFFFFF, 1.0f};
  platform::SolidBrush lightBrush{0xFFE6E6E6};
  platform::SolidBrush dimBrush{0x96FFFFFF};
  platform::SolidBrush whiteBrush{0xFFFFFFFF};
  platform::SolidBrush shadeBrush{0x4C000000};
  platform::SolidBrush panelBrush{0x7D000000};
  platform::SolidBrush overlayBrush{0xE6000000};
  platform::StringFormat centerFormat{platform::TextAlign::Center, platform::TextAlign::Center};
  platform::StringFormat leftFormat{platform::TextAlign::Near, platform::TextAlign::Center};
  platform::StringFormat rightFormat{platform::TextAlign::Far, platform::TextAlign::Center};
  platform::Font textFont;   // fontPixels, regular
  platform::Font smallFont;  // 0.8 x fontPixels, regular
  platform::Font titleFont;  // 2.5 x fontPixels, bold
  CachedImage background;    // the background artwork stretched to the window
};

// Builds the window's renderer from the first family of each font collection. Throws
// std::logic_error "No font!" or "No bold font!" when a collection holds no family.
void CreateRenderer(LauncherWindow& window);

}  // namespace vexmor
