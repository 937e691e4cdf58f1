#include <optional>
#include <system_error>

#include "patcher/messages.h"
#include "patcher/patcher.h"
#include "support/digest/sha256_stream.h"
#include "support/gunzip/concurrent_gunzip.h"
#include "support/gunzip/gunzip_file.h"
#include "support/paths/paths.h"
#include "support/paths/text.h"

namespace vexmor {
namespace {

// From this compressed size on, a file is expanded while it downloads, on a second thread; below
// it, a thread and a channel per file would cost more than the overlap gains.
constexpr std::int32_t kExpandWhileDownloadingBytes = 4 << 20;

}  // namespace

bool Patcher::DownloadFiles(const std::string& documentsBase, std::vector<PatchEntry>& entries,
                            const CheckCounts& check, DownloadCounts& counts) {
  fileCount = check.toDownload;
  bytesDone = 0;
  bytesTotal = check.bytesToDownload;
  fileIndex = 0;
  progressActive = true;
  stage = PatchStage::DownloadingFiles;  // the status text stays as the check left it
  counts = {};
  if (cancelRequested) return false;

  auto fail = [&](PatchEntry& entry, std::wstring_view text, bool local) {
    entry.failed = true;
    entry.errorText = text;
    ++counts.failures;
    if (local) ++counts.localFailures;
  };

  for (auto& entry : entries) {
    entry.failed = false;  // only failures of this phase stay marked
    if (entry.needsUpdate) {
      ++fileIndex;
      fileBytesDone = 0;
      fileBytesTotal = entry.compressedSize;
      SetCurrentFileName(AnsiToWide(entry.path));
      const std::string address = documentsBase + "/files/" + entry.path + ".gz";
      const auto target = LocalPathOf(config_.launcherFolder, entry.path);
      auto temporary = target;
      temporary += ".gz";

      // The signed list says how large the file is: a server sending more is not sending it. A size
      // the list does not give (0: missing, or beyond the 32-bit field) sets no bound.
      const std::int64_t bound = entry.compressedSize > 0 ? entry.compressedSize : kUnboundedBody;
      // The digest is taken from the bytes as they are written, which spares reading the file back.
      // A large file is also expanded while it arrives; that expansion replaces the target only
      // once the digest of the whole download matched.
      Sha256Stream bodyDigest;
      std::optional<ConcurrentGunzip> expansion;
      if (entry.compressedSize >= kExpandWhileDownloadingBytes) {
        CreateParentDirectories(target);
        if (!expansion.emplace(target).Started()) expansion.reset();
      }
      const auto result = http_.FetchToFile(address, temporary, &cancelRequested, &fileBytesDone, &bytesDone, bound,
                                            [&](const char* data, std::size_t size) {
                                              bodyDigest.Update(data, size);
                                              if (expansion) expansion->Feed(data, size);
                                            });
      const bool expanded = expansion && expansion->Finish();
      if (result != TransferResult::TransferOk) {
        fail(entry, messages::kDownloadUnsuccessful, result == TransferResult::TransferFileError);
      } else if (const auto digest = bodyDigest.FinishHex(); digest.size() != 64) {
        fail(entry, messages::kFailedToOpenForVerification, true);
      } else if (digest != entry.sha256) {
        fail(entry, messages::kVerificationFailed, false);  // the ".gz" stays for inspection
      } else if (expansion ? !(expanded && expansion->Commit()) : !GunzipFile(temporary, target)) {
        fail(entry, messages::kFailedToDecompress, true);
      } else {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
      }
    }
    if (cancelRequested) return false;
  }
  return true;
}

}  // namespace vexmor
