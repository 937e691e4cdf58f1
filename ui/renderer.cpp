#include "ui/renderer.h"

#include <stdexcept>

#include "ui/launcher_window.h"

namespace vexmor {
namespace {

constexpr int kBackgroundImage = 152;

}  // namespace

Renderer::Renderer(std::int32_t width, std::int32_t height,
                   const platform::FontCollection::Family& regular,
                   const platform::FontCollection::Family& bold, float emPixels)
    : backBuffer(platform::Bitmap::Create(width, height)),
      backGraphics(backBuffer),
      textFont(regular, emPixels, platform::FontWeight::Regular),
      smallFont(regular, emPixels * 0.8f, platform::FontWeight::Regular),
      titleFont(bold, emPixels * 2.5f, platform::FontWeight::Bold),
      background(MakeCachedBitmap(LoadPngSized(kBackgroundImage, width, height))) {}

void CreateRenderer(LauncherWindow& window) {
  const auto regular = window.regularFonts.FirstFamily();
  if (!regular) throw std::logic_error("No font!");
  const auto bold = window.boldFonts.FirstFamily();
  if (!bold) throw std::logic_error("No bold font!");
  window.renderer = std::make_unique<Renderer>(window.width, window.height, *regular, *bold,
                                               float(window.fontPixels));
}

}  // namespace vexmor
