#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexmor {

// Values of the signed release document "latest.txt".
struct ReleaseInfo {
  std::int32_t gameVersion = 0;
  std::int32_t launcherVersion = 0;
  std::int64_t launcherSize = 0;  // read as a 32-bit number and widened
  std::string launcherChecksum;
  std::int32_t announceVersion = 0;
  std::string announceLink;
  std::string websiteLink;
  std::string forumLink;
  bool valid = false;  // fetched, signature verified and keys read

  friend bool operator==(const ReleaseInfo&, const ReleaseInfo&) = default;
};

// Fills release from the keys at the document level of "latest.txt". False, with release
// unchanged, when the text is not a well-formed document; missing keys give 0 or empty. Leaves
// valid as it is.
bool ParseReleaseInfo(std::string_view text, ReleaseInfo& release);

}  // namespace vexmor
