#pragma once

#include <cstdint>

namespace vexmor {

// Where a run is (0 to 7) or how its last attempt ended (8 and above).
enum class PatchStage : std::int32_t {
  Idle = 0,
  ServerUnreachable = 1,
  ReadingInstalledVersion = 2,
  CheckingRelease = 3,
  UpdatingLauncher = 4,
  FetchingPatchInfo = 5,
  CheckingFiles = 6,
  DownloadingFiles = 7,
  Finished = 8,
  NoServer = 9,
  ServerDataFailed = 10,
  GameRunning = 11,
  PatchInfoFailed = 12,
  FilesNotChecked = 13,
  DownloadIssues = 14,
  LocalIssues = 15,
  Cancelled = 16,
};

inline constexpr bool EndsAttempt(PatchStage stage) { return stage >= PatchStage::Finished; }

enum class QuestionKind : std::int32_t {
  None = 0,
  FailedFiles = 1,
  CloseGame = 2,
};

}  // namespace vexmor
