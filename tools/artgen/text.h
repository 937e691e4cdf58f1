#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <filesystem>
#include <memory>
#include <string>

// Captions in the launcher's own typeface: Open Sans from resources/fonts, loaded into a private
// font configuration so no system font is ever looked up.
namespace vexmor::artgen {

struct TextStyle {
  double pixels = 32;          // em size in pixels
  bool bold = false;
  double letterSpacing = 0;    // extra space between letters, in pixels
};

struct GObjectDeleter {
  void operator()(void* object) const { g_object_unref(object); }
};
struct FcConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

class Fonts {
 public:
  // Loads OpenSans-Regular.ttf and OpenSans-Bold.ttf from the folder; throws when either fails.
  explicit Fonts(const std::filesystem::path& fontsFolder);

  // Draws one line of UTF-8 text so that its ink (the letters themselves, not their line box) is
  // centred on (centerX, centerY), as a path appended to the current path of cr.
  void AppendCenteredText(cairo_t* cr, const std::string& text, const TextStyle& style, double centerX,
                          double centerY) const;

 private:
  std::unique_ptr<FcConfig, FcConfigDeleter> config_;
  std::unique_ptr<PangoFontMap, GObjectDeleter> fontMap_;
  std::string family_;
};

}  // namespace vexmor::artgen
