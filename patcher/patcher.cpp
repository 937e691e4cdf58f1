#include "patcher/patcher.h"

#include "patcher/messages.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

namespace vexmor {

Patcher::Patcher(EngineConfig config)
    : config_(std::move(config)), http_(config_.transfer), statusText_(messages::kInitializing) {
  // The previous launcher stays behind after a self-update; usually there is none, and a backup
  // still held by the old process is deleted at a later start, so a failure here is not an error.
  std::error_code ignored;
  std::filesystem::remove(config_.launcherFolder / "old_launcher.bak", ignored);
}

std::wstring Patcher::StatusText() const {
  std::lock_guard lock(textMutex_);
  return statusText_;
}

void Patcher::SetStatusText(std::wstring text) {
  if (config_.onStatusText) config_.onStatusText(text);
  std::lock_guard lock(textMutex_);
  statusText_ = std::move(text);
}

std::wstring Patcher::LauncherUpdateTitle() const {
  std::lock_guard lock(textMutex_);
  return launcherUpdateTitle_;
}

void Patcher::SetLauncherUpdateTitle(std::wstring text) {
  std::lock_guard lock(textMutex_);
  launcherUpdateTitle_ = std::move(text);
}

std::wstring Patcher::CurrentFileName() const {
  std::lock_guard lock(textMutex_);
  return currentFileName_;
}

void Patcher::SetCurrentFileName(std::wstring text) {
  std::lock_guard lock(textMutex_);
  currentFileName_ = std::move(text);
}

std::wstring Patcher::NewsText() const {
  std::lock_guard lock(textMutex_);
  return newsText_;
}

void Patcher::SetNewsText(std::wstring text) {
  std::lock_guard lock(textMutex_);
  newsText_ = std::move(text);
}

std::wstring Patcher::QuestionText() const {
  std::lock_guard lock(textMutex_);
  return questionText_;
}

ReleaseInfo Patcher::Release() const {
  std::lock_guard lock(textMutex_);
  return release_;
}

void Patcher::SetRelease(ReleaseInfo release) {
  std::lock_guard lock(textMutex_);
  release_ = std::move(release);
}

void Patcher::SetStage(PatchStage newStage, std::wstring text) {
  SetStatusText(std::move(text));
  stage.store(newStage);
}

void Patcher::Report(PatchStage outcome, std::wstring_view text) {
  progressActive = false;
  SetStage(outcome, std::wstring(text));
}

void Patcher::ResetStatus() {
  fileBytesDone = 0;
  fileBytesTotal = 0;
  fileIndex = 0;
  fileCount = 0;
  bytesDone = 0;
  bytesTotal = 0;
  {
    std::lock_guard lock(textMutex_);
    statusText_ = messages::kInitializing;
    launcherUpdateTitle_.clear();
    currentFileName_.clear();
    questionText_.clear();
    release_ = ReleaseInfo{};
  }
  stage = PatchStage::Idle;
  questionPending.store(false, std::memory_order_release);
  questionAnswer.store(false, std::memory_order_relaxed);
  progressActive = false;
  questionKind = QuestionKind::None;
}

bool Patcher::AskUser(std::wstring text, QuestionKind kind) {
  {
    std::lock_guard lock(textMutex_);
    questionText_ = std::move(text);
  }
  questionKind.store(kind, std::memory_order_relaxed);
  questionPending.store(true, std::memory_order_release);
  while (questionPending.load(std::memory_order_acquire)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return questionAnswer.load(std::memory_order_relaxed);
}

void Patcher::AnswerQuestion(bool answer) {
  questionAnswer.store(answer, std::memory_order_relaxed);
  questionPending.store(false, std::memory_order_release);
}

}  // namespace vexmor
