#include <array>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "patcher/messages.h"
#include "patcher/patcher.h"
#include "patcher/version_records.h"
#include "platform/system/file_descriptor.h"
#include "support/digest/crc32.h"
#include "support/digest/crc32_file.h"
#include "support/paths/paths.h"
#include "support/paths/text.h"

namespace vexmor {
namespace {

// The game's own settings, which the player changes: never compared while present.
constexpr std::array<std::string_view, 1> kPreservedFiles = {"Vexmor/Option.ini"};

// Progress total of an item decided without reading it.
constexpr std::int64_t kDecidedItemSize = 100;

bool IsPreserved(std::string_view listedPath) {
  for (auto preserved : kPreservedFiles) {
    if (listedPath == preserved) return true;
  }
  return false;
}

// A file counts as read-only when it has no write permission bit: it is left alone.
bool IsReplaceable(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

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

    // One open and one fstat tell presence, kind, size and permissions. Non-blocking, so that a
    // FIFO standing in a file's place cannot hang the check.
    const platform::FileDescriptor fd(IsPreserved(entry.path) ? -1 : ::open(local.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    std::error_code error;
    if (fd.get() < 0 && !std::filesystem::is_regular_file(local, error)) {
      markForDownload(entry);
    } else if (IsPreserved(entry.path)) {
      entry.needsUpdate = false;
    } else if (fd.get() < 0) {
      entry.needsUpdate = false;
      entry.failed = true;
      entry.errorText = messages::kFailedToOpenForChecking;
      ++counts.notOpened;
    } else if (::fstat(fd.get(), &status) != 0) {
      entry.needsUpdate = false;  // attributes that cannot be read: left alone, like a read-only file
    } else if (!S_ISREG(status.st_mode)) {
      markForDownload(entry);
    } else {
      bool differs = status.st_size != static_cast<std::int64_t>(entry.size);
      if (!differs) {
        fileBytesTotal = status.st_size;
        const auto crc = Crc32OfFile(fd.get(), status.st_size, [this](std::int64_t length) {
          fileBytesDone += length;
          bytesDone += length;
        });
        differs = !crc || Crc32Hex(*crc) != entry.crc;
      }
      if (!differs) {
        entry.needsUpdate = false;
      } else if (IsReplaceable(status.st_mode)) {
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
