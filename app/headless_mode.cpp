#include "app/headless_mode.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/status_texts.h"
#include "patcher/patcher.h"
#include "support/paths/text.h"
#include "support/process/game_processes.h"

namespace vexmor {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr std::int64_t kPlainProgressIntervalMs = 1000;

std::atomic<Patcher*> gPatcher{nullptr};
std::atomic<int> gInterrupts{0};

// First Ctrl-C: ask the run to stop; second: leave at once.
void OnInterrupt(int) {
  if (gInterrupts.fetch_add(1) > 0) _exit(128 + SIGINT);
  if (Patcher* patcher = gPatcher.load()) patcher->cancelRequested = true;
}

// The two choices of each question, as the window labels them: the first answers true.
std::pair<const char*, const char*> Choices(QuestionKind kind) {
  return kind == QuestionKind::CloseGame ? std::pair{"CONFIRM", "CANCEL"} : std::pair{"Continue anyways", "Try again"};
}

bool Answer(QuestionKind kind, HeadlessAnswers answers, bool interactive) {
  if (answers == HeadlessAnswers::Yes) return true;
  if (answers == HeadlessAnswers::No) return false;
  // Nobody to ask: keep the game running, and accept files that could not be checked or updated.
  if (!interactive) return kind == QuestionKind::FailedFiles;
  const auto [yes, no] = Choices(kind);
  for (;;) {
    std::cout << "[y] " << yes << "  [n] " << no << "? " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return kind == QuestionKind::FailedFiles;
    if (line == "y" || line == "Y") return true;
    if (line == "n" || line == "N") return false;
  }
}

// Status texts as the engine sets them, so that none is missed between two looks.
class StatusTexts {
 public:
  void Add(const std::wstring& text) {
    std::lock_guard lock(mutex_);
    texts_.push_back(text);
  }
  std::vector<std::wstring> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(texts_, {});
  }

 private:
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
};

// Prints what the window's status line and progress bars would show.
class StatusPrinter {
 public:
  explicit StatusPrinter(bool terminal) : terminal_(terminal) {}

  void Show(const Patcher& patcher, StatusTexts& texts) {
    for (const auto& text : texts.Take()) {
      if (text.empty() || text == statusLine_) continue;
      EndProgressLine();
      statusLine_ = text;
      std::cout << WideToUtf8(text) << '\n' << std::flush;
    }
    if (!patcher.StatusText().empty()) return;
    statusLine_.clear();
    const auto stage = patcher.stage.load();
    const std::int64_t fileDone = patcher.fileBytesDone;
    if (fileDone != itemValue_) {
      itemValue_ = fileDone;
      sampler_.Sample(WallClockMs(), fileDone);
      head_ = ItemHead(stage, patcher.CurrentFileName(), head_);
    }
    std::wstring line = head_ + SpeedText(sampler_.speedMBps);
    if (stage == PatchStage::UpdatingLauncher) {
      line = patcher.LauncherUpdateTitle() + L": " + line;
    } else {
      line += L"  " + PhaseLabel(patcher.fileIndex, patcher.fileCount, patcher.bytesDone, patcher.bytesTotal,
                                 sampler_.MeanSpeed());
    }
    PrintProgress(WideToUtf8(line));
  }

  void EndProgressLine() {
    if (terminal_ && progressShown_) std::cout << '\n';
    progressShown_ = false;
  }

 private:
  void PrintProgress(const std::string& line) {
    if (terminal_) {
      std::cout << "\r\033[K" << line << std::flush;  // redrawn in place
      progressShown_ = true;
      return;
    }
    const std::int64_t now = WallClockMs();
    if (line == lastPlainLine_ || now - lastPlainMs_ < kPlainProgressIntervalMs) return;
    lastPlainLine_ = line;
    lastPlainMs_ = now;
    std::cout << line << '\n' << std::flush;
  }

  bool terminal_;
  bool progressShown_ = false;
  std::wstring statusLine_;
  std::wstring head_;
  std::int64_t itemValue_ = -1;
  SpeedSampler sampler_;
  std::string lastPlainLine_;
  std::int64_t lastPlainMs_ = 0;
};

}  // namespace

int RunHeadless(const HeadlessOptions& options, EngineConfig config) {
  const bool interactive = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  config.relaunchArguments = {"-multiwindow", "--headless"};
  if (options.answers == HeadlessAnswers::Yes) config.relaunchArguments.push_back("--yes");
  if (options.answers == HeadlessAnswers::No) config.relaunchArguments.push_back("--no");

  StatusTexts texts;
  config.onStatusText = [&texts](const std::wstring& text) { texts.Add(text); };
  Patcher patcher(std::move(config));
  gPatcher = &patcher;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);

  patcher.repairRequested = options.repair;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    patcher.Run();
    done = true;
  });

  StatusPrinter printer(isatty(STDOUT_FILENO));
  while (!done) {
    if (patcher.questionPending.load(std::memory_order_acquire)) {
      printer.EndProgressLine();
      const auto kind = patcher.questionKind.load();
      std::cout << WideToUtf8(patcher.QuestionText()) << '\n';
      const bool answer = Answer(kind, options.answers, interactive);
      std::cout << "-> " << (answer ? Choices(kind).first : Choices(kind).second) << '\n' << std::flush;
      if (kind == QuestionKind::CloseGame && answer) CloseGameProcesses(patcher.Config().launcherFolder);
      patcher.AnswerQuestion(answer);
    }
    printer.Show(patcher, texts);
    std::this_thread::sleep_for(kPollInterval);
  }
  worker.join();
  printer.Show(patcher, texts);
  printer.EndProgressLine();
  gPatcher = nullptr;

  const auto stage = patcher.stage.load();
  return stage == PatchStage::Finished ? 0 : static_cast<int>(stage);
}

}  // namespace vexmor
