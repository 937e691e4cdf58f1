#include <gtest/gtest.h>

#include <thread>

#include "patcher/patcher.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {

EngineConfig ConfigIn(const std::filesystem::path& folder) {
  EngineConfig config;
  config.launcherFolder = folder;
  config.modulePath = folder / "vexmor-launcher";
  return config;
}

TEST(Patcher, StartsIdleAndDeletesTheOldLauncherBackup) {
  test::TempDir dir;
  test::WriteFile(dir / "old_launcher.bak", "previous launcher");
  Patcher patcher(ConfigIn(dir.path()));
  EXPECT_EQ(patcher.stage.load(), PatchStage::Idle);
  EXPECT_EQ(patcher.StatusText(), L"Initializing...");
  EXPECT_FALSE(std::filesystem::exists(dir / "old_launcher.bak"));

  Patcher withoutBackup(ConfigIn(dir.path()));  // nothing to delete is no error
  EXPECT_EQ(withoutBackup.Release(), ReleaseInfo{});
}

TEST(Patcher, ResetStatusKeepsNewsRepairAndCancel) {
  test::TempDir dir;
  Patcher patcher(ConfigIn(dir.path()));
  patcher.fileBytesDone = 5;
  patcher.bytesTotal = 1LL << 40;
  patcher.fileIndex = 3;
  patcher.SetStage(PatchStage::DownloadIssues, L"failed");
  patcher.SetLauncherUpdateTitle(L"Updating your launcher to v1.54");
  patcher.SetCurrentFileName(L"Vexmor/a.bin");
  patcher.SetNewsText(L"news");
  patcher.progressActive = true;
  patcher.repairRequested = true;
  patcher.cancelRequested = true;
  ReleaseInfo release;
  release.gameVersion = 7;
  release.valid = true;
  patcher.SetRelease(release);

  patcher.ResetStatus();

  EXPECT_EQ(patcher.fileBytesDone.load(), 0);
  EXPECT_EQ(patcher.bytesTotal.load(), 0);
  EXPECT_EQ(patcher.fileIndex.load(), 0);
  EXPECT_EQ(patcher.stage.load(), PatchStage::Idle);
  EXPECT_EQ(patcher.StatusText(), L"Initializing...");
  EXPECT_EQ(patcher.LauncherUpdateTitle(), L"");
  EXPECT_EQ(patcher.CurrentFileName(), L"");
  EXPECT_EQ(patcher.Release(), ReleaseInfo{});
  EXPECT_FALSE(patcher.progressActive.load());
  EXPECT_EQ(patcher.NewsText(), L"news");
  EXPECT_TRUE(patcher.repairRequested.load());
  EXPECT_TRUE(patcher.cancelRequested.load());
}

// The UI thread sees the question text and kind once it sees the flag, and the worker sees the
// answer once the flag is cleared. ThreadSanitizer checks the ordering in the sanitizer build.
TEST(Patcher, QuestionHandOverDeliversTextKindAndAnswer) {
  test::TempDir dir;
  Patcher patcher(ConfigIn(dir.path()));
  for (bool answer : {true, false}) {
    bool workerResult = !answer;
    std::thread worker([&] { workerResult = patcher.AskUser(L"Close the game?", QuestionKind::CloseGame); });
    while (!patcher.questionPending.load(std::memory_order_acquire)) std::this_thread::yield();
    EXPECT_EQ(patcher.QuestionText(), L"Close the game?");
    EXPECT_EQ(patcher.questionKind.load(), QuestionKind::CloseGame);
    patcher.AnswerQuestion(answer);
    worker.join();
    EXPECT_EQ(workerResult, answer);
  }
}

}  // namespace
}  // namespace vexmor
