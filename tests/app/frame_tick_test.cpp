// The frame tick over an engine whose status the test sets, or whose questions a thread of the
// test asks: each transition of the window's states, the question hand-over, restarts and clicks.
#include "app/frame_tick.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "patcher/patcher.h"
#include "tests/app/shell_test_support.h"
#include "ui/button.h"
#include "ui/news_button.h"

namespace vexmor::test {
namespace {

using namespace std::chrono_literals;

class FrameTickTest : public ::testing::Test {
 protected:
  void TearDown() override { StopUpdateWorker(*w); }

  void Tick() { UpdateFrame(*w, shellEffects); }

  // Ticks until the condition holds, as the loop would, for at most ten seconds.
  bool TickUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
      Tick();
      if (condition()) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  bool Repainted(const Button& button, bool erase = false) const { return Repainted(button.Bounds(), erase); }
  bool Repainted(const platform::Rect& rect, bool erase) const {
    for (const auto& area : w->dirtyRects.areas) {
      if (area.rect == rect && area.erase == erase) return true;
    }
    return false;
  }

  void EnableAll() {
    for (Button* button : {w->playButton.get(), w->playLiteButton.get(), w->websiteButton.get(),
                           w->forumButton.get(), w->repairButton.get()}) {
      button->disabled = false;
    }
  }

  TempDir dir;
  RecordedEffects effects;
  ShellEffects shellEffects = effects.Effects();
  std::unique_ptr<LauncherWindow> w = MakeShellTestWindow(dir.path());
  Patcher& patcher = *w->patcher;
};

TEST_F(FrameTickTest, StartUpdateDisablesWhatWaitsForTheRunAndTheRunsEndEnablesPlay) {
  EnableAll();
  w->speedMBps = 3;
  w->sampleTimeMs = 5;
  w->speedHistory = {1.0};
  StartUpdate(*w, false);
  for (const Button* button : {w->playButton.get(), w->playLiteButton.get(), w->websiteButton.get(),
                               w->forumButton.get(), w->repairButton.get()}) {
    EXPECT_TRUE(button->disabled);
  }
  EXPECT_TRUE(Repainted(*w->playButton));
  EXPECT_FALSE(Repainted(*w->repairButton)) << "the closed menu does not show the repair entry";
  EXPECT_EQ(w->speedMBps, 0);
  EXPECT_EQ(w->sampleTimeMs, 0);
  EXPECT_EQ(w->speedHistory.size(), 1u) << "the history spans runs";
  EXPECT_TRUE(w->worker.joinable());
  EXPECT_FALSE(patcher.repairRequested);

  // Nothing answers on the update addresses: the run ends with "no server".
  ASSERT_TRUE(TickUntil([&] { return !w->playButton->disabled; }));
  EXPECT_EQ(patcher.stage.load(), PatchStage::NoServer);
  EXPECT_FALSE(w->playLiteButton->disabled);
  EXPECT_FALSE(w->repairButton->disabled);
  EXPECT_TRUE(w->websiteButton->disabled) << "no verified release information";
  EXPECT_EQ(w->statusLine, L"Unable to connect to update servers.");
}

TEST_F(FrameTickTest, AQuestionCoversTheWindowAndNothingElseHappensUntilItIsAnswered) {
  w->running = true;
  patcher.SetStage(PatchStage::Finished, L"Done");
  patcher.questionKind = QuestionKind::CloseGame;
  patcher.questionPending = true;
  w->closeButton->clicked = true;
  Tick();
  EXPECT_TRUE(w->dialogShown);
  EXPECT_EQ(w->dialogKind, 2);
  EXPECT_TRUE(Repainted(w->clientRect, true));
  Tick();
  EXPECT_TRUE(w->running) << "the close click waits under the dialog";
  EXPECT_TRUE(w->playButton->disabled);
  EXPECT_EQ(w->statusLine, L"Initializing...");
}

// A thread of the test asks as the engine's worker would, and gets the answer clicked.
TEST_F(FrameTickTest, EachAnswerIsHandedToTheWaitingRun) {
  struct Case {
    const char* name;
    QuestionKind kind;
    std::unique_ptr<Button> LauncherWindow::*answer;
    bool expected;
    bool closesGames;
  };
  const Case cases[] = {
      {"CONFIRM", QuestionKind::CloseGame, &LauncherWindow::confirmButton, true, true},
      {"CANCEL", QuestionKind::CloseGame, &LauncherWindow::declineButton, false, false},
      {"Continue anyways", QuestionKind::FailedFiles, &LauncherWindow::continueButton, true, false},
      {"Try again", QuestionKind::FailedFiles, &LauncherWindow::retryButton, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    effects.closedGames.clear();
    bool answer = !c.expected;
    std::thread asker([&] { answer = patcher.AskUser(L"question", c.kind); });
    ASSERT_TRUE(TickUntil([&] { return w->dialogShown; }));
    EXPECT_EQ(w->dialogKind, int(c.kind));
    (w.get()->*c.answer)->clicked = true;
    w->dirtyRects.Clear();
    Tick();
    asker.join();
    EXPECT_EQ(answer, c.expected);
    EXPECT_FALSE(patcher.questionPending);
    EXPECT_FALSE(w->dialogShown);
    EXPECT_EQ(w->dialogKind, 0);
    EXPECT_TRUE(Repainted(w->clientRect, true));
    EXPECT_EQ(effects.closedGames.size(), c.closesGames ? 1u : 0u);
    if (c.closesGames) EXPECT_EQ(effects.closedGames[0], dir.path());
  }
  // "Try again" started a repair; nothing else ran, so it started at once.
  EXPECT_TRUE(patcher.repairRequested);
  EXPECT_TRUE(w->worker.joinable());
}

TEST_F(FrameTickTest, TryAgainRestartsOnlyAfterTheOldRunReturnedWhileItsNextQuestionIsAnswered) {
  // The old run: asks, is told to try again, reports an outcome, moves on and asks again.
  std::vector<bool> answers;
  w->worker = std::thread([&] {
    answers.push_back(patcher.AskUser(L"first address", QuestionKind::FailedFiles));
    patcher.SetStage(PatchStage::FilesNotChecked, L"Some files could not be checked");
    answers.push_back(patcher.AskUser(L"second address", QuestionKind::FailedFiles));
    w->workerReturned.store(true, std::memory_order_release);
  });
  const auto oldRun = w->worker.get_id();

  ASSERT_TRUE(TickUntil([&] { return w->dialogShown; }));
  w->retryButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->dialogShown) << "hidden at once";
  EXPECT_TRUE(w->updatePending);
  EXPECT_TRUE(patcher.repairRequested);

  // The old run goes on and asks again; the window still shows and answers it.
  ASSERT_TRUE(TickUntil([&] { return w->dialogShown; }));
  EXPECT_EQ(w->worker.get_id(), oldRun);
  EXPECT_TRUE(w->updatePending);
  EXPECT_TRUE(w->playButton->disabled) << "the old run's outcome does not enable PLAY for the new one";
  w->continueButton->clicked = true;
  ASSERT_TRUE(TickUntil([&] { return !w->updatePending; }));
  EXPECT_EQ(answers, (std::vector<bool>{false, true}));
  EXPECT_TRUE(patcher.repairRequested);
  // The new run begins from a fresh status, not the old run's outcome, and runs to its own end.
  EXPECT_NE(patcher.stage.load(), PatchStage::FilesNotChecked);
  ASSERT_TRUE(TickUntil([&] { return !w->playButton->disabled; }));
  EXPECT_EQ(patcher.stage.load(), PatchStage::NoServer);
}

TEST_F(FrameTickTest, TheEndOfAnAttemptEnablesPlayAndRepairOnlyOnce) {
  w->menuOpen = true;
  patcher.SetStage(PatchStage::DownloadIssues, L"Some files failed");
  Tick();
  EXPECT_FALSE(w->playButton->disabled);
  EXPECT_FALSE(w->playLiteButton->disabled);
  EXPECT_FALSE(w->repairButton->disabled);
  EXPECT_TRUE(Repainted(*w->playButton));
  EXPECT_TRUE(Repainted(*w->repairButton)) << "the open menu shows the entry";
  // A following attempt keeps PLAY as it is.
  patcher.SetStage(PatchStage::ReadingInstalledVersion, L"Determining installed version...");
  w->dirtyRects.Clear();
  Tick();
  EXPECT_FALSE(w->playButton->disabled);
  EXPECT_FALSE(Repainted(*w->playButton));
}

TEST_F(FrameTickTest, CancelTakesPlaysPlaceWhileTheEngineWorks) {
  w->playButton->hovered = true;
  patcher.progressActive = true;
  Tick();
  EXPECT_TRUE(w->cancelShown);
  EXPECT_FALSE(w->playButton->hovered);
  EXPECT_TRUE(Repainted(*w->playButton));

  w->cancelButton->clicked = true;
  Tick();
  EXPECT_TRUE(patcher.cancelRequested);

  w->cancelButton->hovered = true;
  patcher.progressActive = false;
  Tick();
  EXPECT_FALSE(w->cancelShown);
  EXPECT_FALSE(w->cancelButton->hovered);
}

TEST_F(FrameTickTest, MenuGearRepairAndAbout) {
  w->menuButton->clicked = true;
  Tick();
  EXPECT_TRUE(w->menuOpen);
  EXPECT_TRUE(Repainted(w->menuRect, true));
  w->menuButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->menuOpen);

  // "About" without verified release information only closes the menu.
  w->menuOpen = true;
  w->aboutButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->menuOpen);
  EXPECT_TRUE(effects.links.empty());

  ReleaseInfo release;
  release.valid = true;
  release.websiteLink = "https://vexmor.example";
  release.forumLink = "https://forum.vexmor.example";
  patcher.SetRelease(release);
  w->menuOpen = true;
  w->aboutButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->menuOpen);
  EXPECT_EQ(effects.links, std::vector<std::string>{"https://vexmor.example"});
  EXPECT_FALSE(w->websiteButton->disabled);
  EXPECT_FALSE(w->forumButton->disabled);
  w->websiteButton->clicked = true;
  w->forumButton->clicked = true;
  Tick();
  EXPECT_EQ(effects.links, (std::vector<std::string>{"https://vexmor.example", "https://vexmor.example",
                                                     "https://forum.vexmor.example"}));

  w->menuOpen = true;
  w->repairButton->disabled = false;
  w->repairButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->menuOpen);
  EXPECT_TRUE(patcher.repairRequested);
  EXPECT_TRUE(w->repairButton->disabled);
  EXPECT_TRUE(w->worker.joinable());
}

TEST_F(FrameTickTest, NewsIsFilledOnceAndAClickedEntryOpensItsLink) {
  patcher.SetNewsText(L"PATCH\nUpdate 1.4\nA new region\nhttps://vexmor.example/news/14\n");
  Tick();
  ASSERT_EQ(w->newsCount, 1);
  EXPECT_FALSE(w->newsButtons[0]->disabled);
  w->newsButtons[0]->clicked = true;
  w->newsButtons[1]->clicked = true;  // not in use: ignored
  Tick();
  EXPECT_EQ(effects.links, std::vector<std::string>{"https://vexmor.example/news/14"});
}

TEST_F(FrameTickTest, PlayStartsTheGameAndARefusedStartSaysWhyUntilTheEngineSpeaks) {
  w->running = true;
  patcher.SetStage(PatchStage::Finished, L"All files have been successfully updated!");
  Tick();
  w->playButton->clicked = true;
  w->playLiteButton->clicked = true;
  Tick();
  const auto game = dir.path() / "Vexmor" / "VexmorGame.exe";
  ASSERT_EQ(effects.starts.size(), 2u);
  EXPECT_EQ(effects.starts[0].program, game);
  EXPECT_TRUE(effects.starts[0].arguments.empty());
  EXPECT_EQ(effects.starts[1].arguments, std::vector<std::string>{"-INI=Veld_Lite.ini"});
  EXPECT_TRUE(w->running) << "the launcher stays open";
  EXPECT_FALSE(w->playButton->disabled);

  effects.acceptStarts = false;
  w->playButton->clicked = true;
  Tick();
  const std::wstring missing = L"The game could not be started:\n" + game.wstring() + L" is missing.";
  EXPECT_EQ(w->statusLine, missing);
  EXPECT_TRUE(w->running);
  Tick();
  EXPECT_EQ(w->statusLine, missing) << "the engine's unchanged text does not replace it";
  WriteFile(game, "not a program");
  w->playButton->clicked = true;
  Tick();
  EXPECT_EQ(w->statusLine, L"The game could not be started:\n" + game.wstring() + L" cannot be run.");
  patcher.SetStatusText(L"Checking for updates...");
  Tick();
  EXPECT_EQ(w->statusLine, L"Checking for updates...");
}

TEST_F(FrameTickTest, CloseEndsTheLoopAfterTheRestOfTheTick) {
  w->running = true;
  patcher.SetStage(PatchStage::Cancelled, L"Update process has been cancelled.");
  w->closeButton->clicked = true;
  Tick();
  EXPECT_FALSE(w->running);
  EXPECT_FALSE(w->playButton->disabled);
  EXPECT_EQ(w->statusLine, L"Update process has been cancelled.");
}

}  // namespace
}  // namespace vexmor::test
