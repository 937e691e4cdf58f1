#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "support/process/game_processes.h"
#include "tests/testlib/temp_dir.h"

extern char** environ;

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
class RunningCopy {
 public:
  explicit RunningCopy(const std::filesystem::path& image) {
    std::filesystem::create_directories(image.parent_path());
    std::filesystem::copy_file("/bin/sleep", image);
    std::filesystem::permissions(image, std::filesystem::perms::owner_all);
    std::string path = image.string();
    std::string seconds = "60";
    char* argv[] = {path.data(), seconds.data(), nullptr};
    EXPECT_EQ(posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ), 0);
  }
  ~RunningCopy() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool HasEnded() { return waitpid(pid_, nullptr, WNOHANG) == pid_; }
  // Ended (and reaped) within a few seconds.
  bool Ends() {
    for (int i = 0; i < 500; ++i) {
      if (HasEnded()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

 private:
  pid_t pid_ = 0;
};

TEST(GameProcesses, FindAndCloseOnlyThisInstallationsGame) {
  test::TempDir dir;
  const auto launcher = dir / "launcher";
  RunningCopy inSubfolder(launcher / "Vexmor/bin/Veld.bin");
  RunningCopy elsewhere(dir / "other/Vexmor/VexmorGame.exe");
  EXPECT_FALSE(IsGameRunning(launcher));

  RunningCopy game(launcher / "Vexmor/VexmorGame.exe");
  RunningCopy capitals(launcher / "Vexmor/VELD.BIN");
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
