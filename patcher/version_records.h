#pragma once

#include <cstdint>
#include <filesystem>

namespace vexmor {

// The two numbers kept between runs in "Launcher.ini" next to the launcher.
struct VersionRecords {
  std::int32_t installedVersion = 0;  // 0 also marks an interrupted or failed update
  std::int32_t lastAnnouncement = 0;
};

// Missing file, section or key read as 0.
VersionRecords ReadVersionRecords(const std::filesystem::path& launcherFolder);
// Write failures are ignored by the update: a "Version" left at 0 only makes the next run check again.
bool WriteInstalledVersion(const std::filesystem::path& launcherFolder, std::int32_t version);
bool WriteLastAnnouncement(const std::filesystem::path& launcherFolder, std::int32_t version);

}  // namespace vexmor
