#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "patcher/engine_config.h"
#include "patcher/patch_stage.h"
#include "support/release/release_info.h"

namespace vexmor {

// This launcher's own version, a version number times 100.
inline constexpr std::int32_t kLauncherVersion = 153;

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

 private:
  EngineConfig config_;

  mutable std::mutex textMutex_;
  std::wstring statusText_;
  std::wstring launcherUpdateTitle_;
  std::wstring currentFileName_;
  std::wstring newsText_;
  std::wstring questionText_;
  ReleaseInfo release_;
};

}  // namespace vexmor
