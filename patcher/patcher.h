#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "patcher/engine_config.h"
#include "patcher/patch_stage.h"
#include "support/http/http_client.h"
#include "support/patchinfo/patch_entry.h"
#include "support/release/release_info.h"

namespace vexmor {

// This launcher's own version, a version number times 100.
inline constexpr std::int32_t kLauncherVersion = 153;

// What the file check found.
struct CheckCounts {
  std::int32_t notOpened = 0;    // files that could not be opened for checking
  std::int32_t toDownload = 0;   // files marked for download
  std::int64_t bytesToDownload = 0;  // sum of their compressed sizes
};

// What the download phase left.
struct DownloadCounts {
  std::int32_t failures = 0;
  std::int32_t localFailures = 0;  // among the failures, those caused by the local file system
};

// The update engine. The UI thread and the engine's threads share only this object: counters and
// flags are atomics, texts and the release information are copied under one small lock, so no
// reader ever sees a string while it is being written and nobody waits for a transfer.
class Patcher {
 public:
  // Deletes a leftover "old_launcher.bak" next to the executable.
  explicit Patcher(EngineConfig config);
  Patcher(const Patcher&) = delete;
  Patcher& operator=(const Patcher&) = delete;

  const EngineConfig& Config() const { return config_; }

  // --- Shared status: written by the worker, read by the UI once per frame. ---
  std::atomic<std::int64_t> fileBytesDone{0};
  std::atomic<std::int64_t> fileBytesTotal{0};
  std::atomic<std::int32_t> fileIndex{0};
  std::atomic<std::int32_t> fileCount{0};
  std::atomic<std::int64_t> bytesDone{0};
  std::atomic<std::int64_t> bytesTotal{0};
  std::atomic<PatchStage> stage{PatchStage::Idle};
  std::atomic<bool> progressActive{false};
  std::atomic<QuestionKind> questionKind{QuestionKind::None};

  // --- Command fields. ---
  // Set by the worker (release) after the question text and kind; cleared by the UI (release)
  // after it wrote the answer. Readers use acquire.
  std::atomic<bool> questionPending{false};
  std::atomic<bool> questionAnswer{false};  // written by the UI before it clears questionPending
  std::atomic<bool> repairRequested{false};
  std::atomic<bool> cancelRequested{false};  // set by the UI, cleared by the worker; relaxed

  std::wstring StatusText() const;
  void SetStatusText(std::wstring text);
  std::wstring LauncherUpdateTitle() const;
  void SetLauncherUpdateTitle(std::wstring text);
  std::wstring CurrentFileName() const;
  void SetCurrentFileName(std::wstring text);
  std::wstring NewsText() const;
  void SetNewsText(std::wstring text);
  std::wstring QuestionText() const;
  ReleaseInfo Release() const;
  void SetRelease(ReleaseInfo release);

  // Sets the stage and its status text together.
  void SetStage(PatchStage newStage, std::wstring text);

  // Start of every run: counters, stage, texts, question and release back to their first values.
  // The news text, the repair request and the cancel request stay.
  void ResetStatus();

  // Worker side of a question: publishes it and waits, without a time-out, for the UI's answer.
  bool AskUser(std::wstring text, QuestionKind kind);

  // UI side of a question: the answer, then the release of the waiting worker.
  void AnswerQuestion(bool answer);

  // --- The update run, on the worker thread. ---

  // Resets the status, then makes one attempt per update address under the address rule.
  void Run();
  // One attempt against one update base address; its result is what it leaves in the status.
  // Ends the process when it has started a newly installed launcher.
  void UpdateByDomain(const std::string& baseUrl, bool isLastAddress);

  // Fetches, verifies and reads the release document below the documents base into `release`.
  bool CheckRelease(const std::string& documentsBase, ReleaseInfo& release);
  // Replaces the running launcher with the published one and starts it; returns only on failure,
  // with the old executable back in place.
  bool UpdateLauncher(const std::string& documentsBase, const std::string& expectedDigest);
  // Reads the verified checksum list; false when cancelled. A list with any malformed line yields
  // no records.
  bool ParsePatchInfo(std::string_view text, std::vector<PatchEntry>& entries);
  // Marks the entries whose local file is missing or differs; false when cancelled.
  bool CheckFiles(std::vector<PatchEntry>& entries, CheckCounts& counts, std::int32_t lastAnnouncement,
                  std::int32_t announceVersion);
  // Downloads, verifies and expands every marked entry; false when cancelled.
  bool DownloadFiles(const std::string& documentsBase, std::vector<PatchEntry>& entries, const CheckCounts& check,
                     DownloadCounts& counts);
  // The verified news document as wide text, or empty.
  std::wstring FetchNews(const std::string& documentsBase);

 private:
  // Clears progressActive and sets the stage with its text: how an attempt reports its end.
  void Report(PatchStage outcome, std::wstring_view text);

  EngineConfig config_;
  HttpClient http_;

  mutable std::mutex textMutex_;
  std::wstring statusText_;
  std::wstring launcherUpdateTitle_;
  std::wstring currentFileName_;
  std::wstring newsText_;
  std::wstring questionText_;
  ReleaseInfo release_;
};

}  // namespace vexmor
