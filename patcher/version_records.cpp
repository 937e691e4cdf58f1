#include "patcher/version_records.h"

#include <string>

#include "platform/system/profile_file.h"

namespace vexmor {
namespace {

std::filesystem::path IniPath(const std::filesystem::path& launcherFolder) { return launcherFolder / "Launcher.ini"; }

}  // namespace

VersionRecords ReadVersionRecords(const std::filesystem::path& launcherFolder) {
  const auto ini = IniPath(launcherFolder);
  return {platform::GetProfileInt(ini, "Patch", "Version", 0), platform::GetProfileInt(ini, "Patch", "Announce", 0)};
}

bool WriteInstalledVersion(const std::filesystem::path& launcherFolder, std::int32_t version) {
  return platform::WriteProfileString(IniPath(launcherFolder), "Patch", "Version", std::to_string(version));
}

bool WriteLastAnnouncement(const std::filesystem::path& launcherFolder, std::int32_t version) {
  return platform::WriteProfileString(IniPath(launcherFolder), "Patch", "Announce", std::to_string(version));
}

}  // namespace vexmor
