#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "patcher/messages.h"
#include "patcher/patcher.h"
#include "platform/system/files.h"
#include "platform/system/shell.h"
#include "support/digest/sha256_file.h"
#include "support/release/release_info.h"
#include "support/signature/signature.h"

namespace vexmor {

bool Patcher::CheckRelease(const std::string& documentsBase, ReleaseInfo& release) {
  progressActive = false;
  SetStage(PatchStage::CheckingRelease, std::wstring(messages::kCheckingForUpdates));
  std::string document;
  std::string signature;
  if (http_.FetchToMemory(documentsBase + "/latest.txt", document, &cancelRequested) != TransferResult::TransferOk) {
    return false;
  }
  if (http_.FetchToMemory(documentsBase + "/latest.sig", signature, &cancelRequested) != TransferResult::TransferOk) {
    return false;
  }
  if (!VerifyDocument(document, signature, config_.publicKey1, config_.publicKey2)) return false;
  ReleaseInfo read = release;
  if (!ParseReleaseInfo(document, read)) return false;
  read.valid = true;
  release = read;
  SetRelease(release);
  fileBytesTotal = release.launcherSize;
  SetCurrentFileName(std::wstring(messages::kLauncherUpdateName));
  return true;
}

bool Patcher::UpdateLauncher(const std::string& documentsBase, const std::string& expectedDigest) {
  progressActive = false;
  SetStage(PatchStage::UpdatingLauncher, L"");
  const auto& folder = config_.launcherFolder;
  const auto& executable = config_.modulePath;
  const auto download = folder / "latest_launcher.is_downloaded";
  const auto backup = folder / "old_launcher.bak";
  std::error_code ignored;

  // A server sending more than the signed release document's size is not sending the launcher,
  // and must not fill the disk; a document without a size sets no bound.
  const std::int64_t size = Release().launcherSize;
  if (http_.FetchToFile(documentsBase + "/Vexmor.exe", download, &cancelRequested, &fileBytesDone, nullptr,
                        size > 0 ? size : kUnboundedBody) != TransferResult::TransferOk) {
    return false;  // the partial download stays; the next one overwrites it
  }
  // Beyond that bound the size only drives the progress display; the digest decides.
  if (Sha256FileHex(download) != expectedDigest) {
    std::filesystem::remove(download, ignored);
    return false;
  }
  if (!platform::RenameNoReplace(executable, backup)) {
    std::filesystem::remove(download, ignored);
    return false;
  }
  if (!platform::RenameNoReplace(download, executable)) {
    std::filesystem::remove(download, ignored);
    platform::RenameNoReplace(backup, executable);
    return false;
  }
  if (!platform::StartProgram(executable, config_.relaunchArguments)) {
    std::filesystem::remove(executable, ignored);
    platform::RenameNoReplace(backup, executable);
    return false;
  }
  // The new launcher runs; end this process at once. Other threads (the window, the news task)
  // are still running, so no static destructors may run under them: flush output and leave.
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace vexmor
