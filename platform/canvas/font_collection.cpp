#include "platform/canvas/font_collection.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <sys/mman.h>

#include <stdexcept>
#include <string>

#include "platform/canvas/font_collection_state.h"

namespace vexmor::platform {
namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written <= 0) return false;
    bytes = bytes.subspan(std::size_t(written));
  }
  return true;
}

int ApplicationFontCount(FcConfig* config) {
  const FcFontSet* set = FcConfigGetFonts(config, FcSetApplication);
  return set ? set->nfont : 0;
}

}  // namespace

FontCollection::FontCollection() : state_(std::make_shared<State>()) {
  state_->config.reset(FcConfigCreate());
  if (!state_->config) throw std::runtime_error("Cannot create a font configuration");
  // The private configuration must be the current one before the font map exists: otherwise the
  // map's first use initialises the system configuration and scans the system's fonts.
  FcConfigSetCurrent(state_->config.get());
  state_->fontMap.reset(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
  if (!state_->fontMap) throw std::runtime_error("Cannot create a font map");
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(state_->fontMap.get()), state_->config.get());
}

FontCollection::State::~State() {
  // Pango 1.50 keeps its reference to the configuration when the font map is finalised; taking
  // the configuration back first lets it go with the map.
  if (fontMap) pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap.get()), nullptr);
  fontMap.reset();
  // While current, the configuration would stay alive with all its faces. An empty private one
  // takes its place, never the system's, so no system font is looked up later either.
  if (config && FcConfigGetCurrent() == config.get()) {
    FcConfig* empty = FcConfigCreate();
    FcConfigSetCurrent(empty);
    FcConfigDestroy(empty);
  }
}

bool FontCollection::AddMemoryFont(std::span<const std::uint8_t> bytes) {
  UniqueFd file(memfd_create("vexmor-font", MFD_CLOEXEC));
  if (file.get() < 0 || !WriteAll(file.get(), bytes)) return false;
  const std::string path = "/proc/self/fd/" + std::to_string(file.get());
  const int before = ApplicationFontCount(state_->config.get());
  FcConfigAppFontAddFile(state_->config.get(), reinterpret_cast<const FcChar8*>(path.c_str()));
  if (ApplicationFontCount(state_->config.get()) == before) return false;
  state_->faceFiles.push_back(std::move(file));
  pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(state_->fontMap.get()));
  return true;
}

std::optional<FontCollection::Family> FontCollection::FirstFamily() const {
  const FcFontSet* set = FcConfigGetFonts(state_->config.get(), FcSetApplication);
  FcChar8* family = nullptr;
  if (!set || set->nfont == 0 ||
      FcPatternGetString(set->fonts[0], FC_FAMILY, 0, &family) != FcResultMatch) {
    return std::nullopt;
  }
  return Family{state_, reinterpret_cast<const char*>(family)};
}

}  // namespace vexmor::platform
