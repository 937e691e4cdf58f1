#include <future>

#include "patcher/address_rule.h"
#include "patcher/messages.h"
#include "patcher/patcher.h"
#include "patcher/version_records.h"
#include "support/process/game_processes.h"
#include "support/signature/signature.h"

namespace vexmor {

void Patcher::Run() {
  ResetStatus();
  int position = 1;
  for (;;) {
    UpdateByDomain(config_.updateUrls[position - 1], position == kAddressCount);
    switch (ApplyAddressRule(stage.load(), position)) {
      case NextAddress::EndRun:
        return;
      case NextAddress::Next:
        ++position;
        break;
      case NextAddress::First:
        position = 1;
        break;
    }
  }
}

void Patcher::UpdateByDomain(const std::string& baseUrl, bool isLastAddress) {
  if (!http_.ProbeServer(baseUrl)) {
    Report(isLastAddress ? PatchStage::NoServer : PatchStage::ServerUnreachable,
           isLastAddress ? messages::kNoServer : messages::kServerUnreachable);
    return;
  }
  const std::string documentsBase = baseUrl + "/new_launcher";

  // Fetched beside the update; the future's destructor waits for it on every way out of this
  // attempt, so the task never outlives the documents base it reads.
  auto newsTask = std::async(std::launch::async, [this, &documentsBase] {
    if (NewsText().empty()) SetNewsText(FetchNews(documentsBase));
  });

  const auto& folder = config_.launcherFolder;
  progressActive = false;
  SetStage(PatchStage::ReadingInstalledVersion, std::wstring(messages::kReadingInstalledVersion));
  const VersionRecords records = ReadVersionRecords(folder);

  ReleaseInfo release = Release();
  if (!CheckRelease(documentsBase, release)) return Report(PatchStage::ServerDataFailed, messages::kServerDataFailed);

  if (release.launcherVersion > 0 && release.launcherVersion != kLauncherVersion) {
    SetLauncherUpdateTitle(FormatLauncherUpdateTitle(release.launcherVersion));
    UpdateLauncher(documentsBase, release.launcherChecksum);  // a failure is silent: go on with the game
  }
  if (release.gameVersion <= 0) return Report(PatchStage::ServerDataFailed, messages::kServerDataFailed);

  if (!repairRequested && records.installedVersion >= release.gameVersion) {
    return Report(PatchStage::Finished, messages::kLatestInstalled);
  }

  if (IsGameRunning(folder) && !AskUser(std::wstring(messages::kCloseGameQuestion), QuestionKind::CloseGame)) {
    return Report(PatchStage::GameRunning, messages::kGameRunning);
  }

  // From here until a complete success the folder counts as not updated.
  WriteInstalledVersion(folder, 0);

  auto fetchPatchDocument = [&](const char* name) {
    progressActive = true;
    SetStage(PatchStage::FetchingPatchInfo, std::wstring(messages::kDownloadingPatchInfo));
    std::string text;
    if (http_.FetchToMemory(documentsBase + name, text, &cancelRequested) != TransferResult::TransferOk) text.clear();
    return text;
  };
  auto cancelled = [this] {
    cancelRequested = false;
    Report(PatchStage::Cancelled, messages::kCancelled);
  };

  const std::string list = fetchPatchDocument("/checksums.txt");
  if (cancelRequested) return cancelled();
  const std::string signature = fetchPatchDocument("/checksums.sig");
  if (cancelRequested) return cancelled();

  if (list.empty()) return Report(PatchStage::PatchInfoFailed, messages::kPatchInfoFailed);
  if (signature.empty()) return Report(PatchStage::PatchInfoFailed, messages::kPatchInfoSignatureFailed);
  if (!VerifyDocument(list, signature, config_.publicKey1, config_.publicKey2)) {
    return Report(PatchStage::PatchInfoFailed, messages::kPatchInfoVerificationFailed);
  }

  std::vector<PatchEntry> entries;
  if (!ParsePatchInfo(list, entries)) return cancelled();
  if (entries.empty()) return Report(PatchStage::PatchInfoFailed, messages::kPatchInfoCorrupted);

  CheckCounts check;
  if (!CheckFiles(entries, check, records.lastAnnouncement, release.announceVersion)) return cancelled();

  if (check.notOpened > 0 &&
      !AskUser(FormatFailureList(entries, messages::kFilesNotCheckedHeading), QuestionKind::FailedFiles)) {
    return Report(PatchStage::FilesNotChecked, messages::kFilesNotChecked);
  }

  if (check.toDownload == 0) {
    if (check.notOpened > 0) return Report(PatchStage::FilesNotChecked, messages::kNothingToUpdateSomeNotChecked);
    Report(PatchStage::Finished, messages::kAllFilesCurrent);
    WriteInstalledVersion(folder, release.gameVersion);
    return;
  }

  DownloadCounts download;
  if (!DownloadFiles(documentsBase, entries, check, download)) return cancelled();

  if (download.localFailures > 0) {
    AskUser(FormatFailureList(entries, messages::kFilesNotUpdatedHeading), QuestionKind::FailedFiles);
    return Report(PatchStage::LocalIssues, messages::kLocalIssues);
  }
  if (download.failures > 0) {
    if (isLastAddress) AskUser(FormatFailureList(entries, messages::kFilesNotUpdatedHeading), QuestionKind::FailedFiles);
    return Report(PatchStage::DownloadIssues, messages::kDownloadIssues);
  }
  Report(PatchStage::Finished, messages::kAllFilesUpdated);
  WriteInstalledVersion(folder, release.gameVersion);
}

}  // namespace vexmor
