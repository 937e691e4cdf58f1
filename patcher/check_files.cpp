#include <array>
#include <fstream>
#include <memory>
#include <system_error>

#include "patcher/messages.h"
#include "patcher/patcher.h"
#include "patcher/version_records.h"
#include "support/digest/crc32.h"
#include "support/paths/paths.h"
#include "support/paths/text.h"

namespace vexmor {
namespace {

// The game's own settings, which the player changes: never compared while present.
constexpr std::array<std::string_view, 1> kPreservedFiles = {"Vexmor/Option.ini"};

constexpr std::size_t kBlockSize = 64 * 1024;
// Progress total of an item decided without reading it.
constexpr std::int64_t kDecidedItemSize = 100;

bool IsPreserved(std::string_view listedPath) {
  for (auto preserved : kPreservedFiles) {
    if (listedPath == preserved) return true;
  }
  return false;
}

// A file counts as read-only when it has no write permission bit; one whose attributes cannot be
// read is treated the same way: both are left alone.
bool IsReplaceable(const std::filesystem::path& file) {
  std::error_code error;
  const auto perms = std::filesystem::status(file, error).permissions();
  if (error) return false;
  using std::filesystem::perms;
  return (perms & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
}

}  // namespace

bool Patcher::CheckFiles(std::vector<PatchEntry>& entries, CheckCounts& counts, std::int32_t lastAnnouncement,
                         std::int32_t announceVersion) {
  fileIndex = 0;
  fileCount = static_cast<std::int32_t>(entries.size());
  bytesDone = 0;
  progressActive = true;
  SetStage(PatchStage::CheckingFiles, L"");
  counts = {};
  bool announcementPending = announceVersion > 0 && announceVersion > lastAnnouncement;
  if (cancelRequested) return false;

  const auto& folder = config_.launcherFolder;
  auto buffer = std::make_unique<char[]>(kBlockSize);
  auto markForDownload = [&](PatchEntry& entry) {
    entry.needsUpdate = true;
    ++counts.toDownload;
    counts.bytesToDownload += entry.compressedSize;
    fileBytesDone = kDecidedItemSize;
  };

  for (auto& entry : entries) {
    if (announcementPending && static_cast<double>(fileIndex) / static_cast<double>(fileCount) > 0.15) {
      announcementPending = false;
      // A page that cannot be opened, or a record that cannot be written, does not affect the check.
      const std::string link = Release().announceLink;
      config_.openLink(link);
      WriteLastAnnouncement(folder, announceVersion);
    }
    ++fileIndex;
    fileBytesDone = 0;
    fileBytesTotal = kDecidedItemSize;
    SetCurrentFileName(AnsiToWide(entry.path));
    const auto local = LocalPathOf(folder, entry.path);

    std::error_code error;
    if (!std::filesystem::is_regular_file(local, error)) {
      markForDownload(entry);
    } else if (IsPreserved(entry.path)) {
      entry.needsUpdate = false;
    } else if (std::ifstream file(local, std::ios::binary); !file) {
      entry.needsUpdate = false;
      entry.failed = true;
      entry.errorText = messages::kFailedToOpenForChecking;
      ++counts.notOpened;
    } else {
      const auto size = std::filesystem::file_size(local, error);
      bool differs = error || size != static_cast<std::uintmax_t>(static_cast<std::int64_t>(entry.size));
      if (!differs) {
        fileBytesTotal = static_cast<std::int64_t>(size);
        std::uint32_t crc = 0;
        while (file.read(buffer.get(), kBlockSize) || file.gcount() > 0) {
          const auto length = file.gcount();
          crc = Crc32(crc, buffer.get(), static_cast<std::size_t>(length));
          fileBytesDone += length;
          bytesDone += length;
        }
        differs = Crc32Hex(crc) != entry.crc;
      }
      if (!differs) {
        entry.needsUpdate = false;
      } else if (IsReplaceable(local)) {
        markForDownload(entry);
      } else {
        entry.needsUpdate = false;  // read-only files are never replaced, nor reported
      }
    }
    if (cancelRequested) return false;  // between entries only: a large file is read to its end
  }
  return true;
}

}  // namespace vexmor
