#include <gtest/gtest.h>

#include "support/process/game_processes.h"
#include "tests/testlib/running_copy.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {

TEST(IsGameProcess, MatchesOnlyGameImagesDirectlyInTheGameFolder) {
  struct Case {
    const char* name;
    const char* image;
    bool expected;
  } cases[] = {
      {"VexmorGame.exe", "/games/Vexmor/VexmorGame.exe", true},
      {"Veld.bin", "/games/Vexmor/Veld.bin", true},
      {"VEXMORGAME.EXE", "/games/Vexmor/VEXMORGAME.EXE", true},
      {"VexmorGame.exe", "/GAMES/vexmor/VexmorGame.exe", true},  // folder compared without case
      {"Veld.bin", "/games/Vexmor/bin/Veld.bin", false},         // a subfolder
      {"VexmorGame.exe", "/copy/Vexmor/VexmorGame.exe", false},  // another installation
      {"VexmorGame.exe", "/games/Vexmor/vexmorgame.exe", false}, // reported name not in the path
      {"Other.exe", "/games/Vexmor/Other.exe", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsGameProcess(c.name, c.image, "/games/Vexmor/"), c.expected) << c.name << " " << c.image;
  }
}

// Real processes: copies of a small program, named like the game images.
TEST(GameProcesses, FindAndCloseOnlyThisInstallationsGame) {
  test::TempDir dir;
  const auto launcher = dir / "launcher";
  test::RunningCopy inSubfolder(launcher / "Vexmor/bin/Veld.bin");
  test::RunningCopy elsewhere(dir / "other/Vexmor/VexmorGame.exe");
  EXPECT_FALSE(IsGameRunning(launcher));

  test::RunningCopy game(launcher / "Vexmor/VexmorGame.exe");
  test::RunningCopy capitals(launcher / "Vexmor/VELD.BIN");
  EXPECT_TRUE(IsGameRunning(launcher));
  CloseGameProcesses(launcher);
  EXPECT_TRUE(game.Ends());
  EXPECT_TRUE(capitals.Ends());
  EXPECT_FALSE(IsGameRunning(launcher));
  EXPECT_FALSE(inSubfolder.HasEnded());
  EXPECT_FALSE(elsewhere.HasEnded());
}

}  // namespace
}  // namespace vexmor
