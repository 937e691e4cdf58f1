#include "support/release/release_info.h"

#include <sstream>
#include <stdexcept>

#include "support/ini/ini_document.h"
#include "support/paths/text.h"

namespace vexmor {

bool ParseReleaseInfo(std::string_view text, ReleaseInfo& release) {
  IniDocument document;
  std::istringstream input{std::string(text)};
  try {
    document.Parse(input);
  } catch (const std::runtime_error&) {
    return false;  // the reason is not shown to the player; the release check just fails
  }
  const IniSection& keys = document.root;
  release.gameVersion = ToIntOrZero(keys.Value("game_version"));
  release.launcherVersion = ToIntOrZero(keys.Value("launcher_version"));
  release.launcherChecksum = keys.Value("launcher_checksum");
  release.launcherSize = ToIntOrZero(keys.Value("launcher_size"));
  release.announceVersion = ToIntOrZero(keys.Value("announce_version"));
  release.announceLink = keys.Value("announce_link");
  release.websiteLink = keys.Value("website_link");
  release.forumLink = keys.Value("forum_link");
  return true;
}

}  // namespace vexmor
