#include "app/frame_tick.h"

#include <chrono>
#include <thread>

#include "app/input_routing.h"
#include "platform/window/window.h"
#include "support/paths/text.h"
#include "app/status_texts.h"
#include "app/status_view.h"
#include "patcher/patcher.h"
#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"

namespace vexmor {
namespace {

// A click is consumed once: the flag and the hover it left are cleared, and the button repainted
// so the screen does not keep showing the hover.
bool ConsumeClick(LauncherWindow& w, Button& button) {
  if (!button.clicked) return false;
  button.clicked = false;
  button.hovered = false;
  w.dirtyRects.Add(button.Bounds(), false);
  return true;
}

void Enable(LauncherWindow& w, Button& button, bool repaint = true) {
  button.disabled = false;
  if (repaint) w.dirtyRects.Add(button.Bounds(), false);
}

void Disable(LauncherWindow& w, Button& button, bool repaint = true) {
  button.disabled = true;
  if (repaint) w.dirtyRects.Add(button.Bounds(), false);
}

void CloseDialog(LauncherWindow& w) {
  w.dialogKind = 0;
  w.dialogShown = false;
  w.dirtyRects.Add(w.clientRect, true);
}

// The question shown: the first answer clicked is given to the engine.
void AnswerDialog(LauncherWindow& w, const ShellEffects& effects) {
  Patcher& patcher = *w.patcher;
  if (w.dialogKind == int(QuestionKind::CloseGame)) {
    if (ConsumeClick(w, *w.confirmButton)) {
      // Ends the game before the waiting run goes on to replace its files.
      effects.closeGameProcesses(patcher.Config().launcherFolder);
      patcher.AnswerQuestion(true);
      CloseDialog(w);
    } else if (ConsumeClick(w, *w.declineButton)) {
      patcher.AnswerQuestion(false);
      CloseDialog(w);
    }
  } else if (w.dialogKind == int(QuestionKind::FailedFiles)) {
    if (ConsumeClick(w, *w.continueButton)) {
      patcher.AnswerQuestion(true);
      CloseDialog(w);
    } else if (ConsumeClick(w, *w.retryButton)) {
      patcher.AnswerQuestion(false);
      CloseDialog(w);
      StartUpdate(w, true);
    }
  }
}

void FollowNews(LauncherWindow& w, const ShellEffects& effects) {
  if (w.newsCount == 0 && !w.patcher->NewsText().empty()) FillNewsList(w);
  for (std::int32_t i = 0; i < w.newsCount; ++i) {
    if (ConsumeClick(w, *w.newsButtons[i])) effects.openLink(WideToUtf8(w.newsButtons[i]->linkUrl));
  }
}

void FollowProgress(LauncherWindow& w) {
  const bool active = w.patcher->progressActive;
  if (active && !w.cancelShown) {
    w.cancelShown = true;
    w.playButton->hovered = false;
    w.dirtyRects.Add(w.playButton->Bounds(), false);
  } else if (!active && w.cancelShown) {
    w.cancelShown = false;
    w.cancelButton->hovered = false;
    w.dirtyRects.Add(w.cancelButton->Bounds(), false);
  }
}

// The links once the release information is verified; PLAY and repair once the attempt ended.
// An update that waits for the previous run keeps them disabled: what that run reports is not
// the outcome of the update the user asked for.
void EnableWhatIsReady(LauncherWindow& w) {
  if (w.updatePending) return;
  if (w.websiteButton->disabled && w.patcher->Release().valid) {
    Enable(w, *w.websiteButton);
    Enable(w, *w.forumButton);
  }
  if (w.playButton->disabled && EndsAttempt(w.patcher->stage)) {
    Enable(w, *w.playButton);
    Enable(w, *w.playLiteButton);
    if (w.hwnd) w.hwnd->Flash();
    Enable(w, *w.repairButton, w.menuOpen);
  }
}

void ToggleMenu(LauncherWindow& w, bool open) {
  w.menuOpen = open;
  w.dirtyRects.Add(w.menuRect, true);
}

void PlayGame(LauncherWindow& w, const ShellEffects& effects, bool lite) {
  // An accepted start leaves the launcher as it is, so another click starts another game.
  if (auto problem = StartGame(effects, w.patcher->Config().launcherFolder, lite)) {
    ShowStartProblem(w, std::move(*problem));
  }
}

void ActOnClicks(LauncherWindow& w, const ShellEffects& effects) {
  Patcher& patcher = *w.patcher;
  if (ConsumeClick(w, *w.closeButton)) w.running = false;
  if (ConsumeClick(w, *w.menuButton)) ToggleMenu(w, !w.menuOpen);
  if (ConsumeClick(w, *w.minimizeButton) && w.hwnd) w.hwnd->Minimize();
  if (ConsumeClick(w, *w.websiteButton)) effects.openLink(patcher.Release().websiteLink);
  if (ConsumeClick(w, *w.forumButton)) effects.openLink(patcher.Release().forumLink);
  if (ConsumeClick(w, *w.playButton)) PlayGame(w, effects, false);
  if (ConsumeClick(w, *w.cancelButton)) patcher.cancelRequested.store(true, std::memory_order_relaxed);
  if (ConsumeClick(w, *w.playLiteButton)) PlayGame(w, effects, true);
  if (ConsumeClick(w, *w.repairButton)) {
    StartUpdate(w, true);
    ToggleMenu(w, false);
  }
  if (ConsumeClick(w, *w.aboutButton)) {
    ToggleMenu(w, false);
    const ReleaseInfo release = patcher.Release();
    if (release.valid) effects.openLink(release.websiteLink);
  }
}

}  // namespace

void UpdateFrame(LauncherWindow& w, const ShellEffects& effects) {
  if (w.hwnd && !w.hwnd->HasMouseFocus()) ClearHoverOnLeave(w);
  StartPendingUpdate(w);
  if (w.dialogShown) {
    AnswerDialog(w, effects);
    return;
  }
  Patcher& patcher = *w.patcher;
  if (patcher.questionPending.load(std::memory_order_acquire)) {
    w.dialogShown = true;
    w.dialogKind = std::int32_t(patcher.questionKind.load());
    w.dirtyRects.Add(w.clientRect, true);
    return;
  }
  FollowNews(w, effects);
  FollowProgress(w);
  EnableWhatIsReady(w);
  ActOnClicks(w, effects);
  UpdateStatusView(w, WallClockMs());
}

void StartUpdate(LauncherWindow& w, bool repair) {
  w.sampleBytes = 0;
  w.speedMBps = 0;
  w.sampleTimeMs = 0;
  Disable(w, *w.repairButton, w.menuOpen);
  Disable(w, *w.playButton);
  Disable(w, *w.playLiteButton);
  Disable(w, *w.websiteButton);
  Disable(w, *w.forumButton);
  w.patcher->repairRequested = repair;
  w.updatePending = true;
  StartPendingUpdate(w);
}

bool StartPendingUpdate(LauncherWindow& w) {
  // A run that has returned is joined at once, so no finished thread is left behind.
  if (w.worker.joinable() && w.workerReturned.load(std::memory_order_acquire)) w.worker.join();
  if (!w.updatePending) return true;
  if (w.worker.joinable()) return false;
  // Reset here as well as by the run itself: until the new thread gets to it, the next tick would
  // otherwise still see the old run's outcome and enable PLAY for a run that has not begun.
  w.patcher->ResetStatus();
  w.workerReturned.store(false, std::memory_order_relaxed);
  w.worker = std::thread([&w] {
    w.patcher->Run();
    w.workerReturned.store(true, std::memory_order_release);
  });
  w.updatePending = false;
  return true;
}

void StopUpdateWorker(LauncherWindow& w) {
  w.updatePending = false;
  if (!w.worker.joinable()) return;
  w.patcher->cancelRequested.store(true, std::memory_order_relaxed);
  while (!w.workerReturned.load(std::memory_order_acquire)) {
    if (w.patcher->questionPending.load(std::memory_order_acquire)) w.patcher->AnswerQuestion(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  w.worker.join();
}

}  // namespace vexmor
