// The launcher's headless mode, run as the real program with its built-in demo configuration
// against update servers on the demo addresses.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "patcher/version_records.h"
#include "tests/testlib/running_copy.h"
#include "tests/testlib/spawn_logged.h"
#include "tests/testlib/temp_dir.h"
#include "tests/testlib/update_servers.h"
#include "tools/server/https_server.h"

namespace vexmor::test {
namespace {

const std::filesystem::path kDemo = std::filesystem::path(VEXMOR_SOURCE_DIR) / "demo";

class HeadlessTest : public ::testing::Test {
 public:
  void SetUp() override {
    WriteFile(root / "Vexmor/VexmorGame.exe", "#!/bin/sh\n");
    WriteFile(root / "Vexmor/data/world.pak", std::string(400000, 'w'));
    std::filesystem::create_directories(install);
    std::filesystem::copy_file(VEXMOR_LAUNCHER_EXE, install / "vexmor-launcher");
  }

  void Serve(PublishOptions options = {}) {
    options.keyPath = kDemo / "keys/demo-signing-1.pem";
    PublishTree(root, dir / "tree", options);
    for (int i = 0; i < 3; ++i) {
      HttpsServerOptions server;
      server.certFile = kDemo / "tls/demo-server.pem";
      server.keyFile = kDemo / "tls/demo-server.key";
      server.root = dir / "tree";
      server.pathPrefix = i == 1 ? "/vexmor-bucket" : "";
      server.port = static_cast<std::uint16_t>(18441 + i);
      server.log = [this](const RequestLog& entry) {
        if (entry.path.find("/files/") != std::string::npos) downloadStarted = true;
      };
      servers[i] = std::make_unique<HttpsServer>(server);
    }
  }

  struct Result {
    int exitStatus = -1;
    std::string output;
  };

  // Runs the installed launcher with its output in a file and no terminal; `during` gets its pid.
  Result RunLauncher(std::vector<std::string> arguments, const std::function<void(pid_t)>& during = {}) {
    const std::string program = (install / "vexmor-launcher").string();
    const auto output = dir / "output.txt";
    std::filesystem::remove(output);
    arguments.insert(arguments.begin(), program);
    const pid_t pid = SpawnLogged(arguments, output);
    if (pid < 0) return {};
    if (during) during(pid);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(output)};
  }

  TempDir dir;
  std::filesystem::path root = dir / "game";
  std::filesystem::path install = dir / "install";
  std::array<std::unique_ptr<HttpsServer>, 3> servers;
  std::atomic<bool> downloadStarted{false};
};

TEST_F(HeadlessTest, UpdatesTheInstallationAndEndsWithStatusZero) {
  Serve({.gameVersion = 12});
  const auto result = RunLauncher({"--headless", "--yes"});
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_NE(result.output.find("Checking for updates...\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("All files have been successfully updated!\n"), std::string::npos) << result.output;
  EXPECT_EQ(ReadFile(install / "Vexmor/data/world.pak"), ReadFile(root / "Vexmor/data/world.pak"));
  EXPECT_EQ(ReadVersionRecords(install).installedVersion, 12);
}

TEST_F(HeadlessTest, ExitStatusIsTheNumberOfTheFinalStage) {
  const auto result = RunLauncher({"--headless"});  // no update server is running
  EXPECT_EQ(result.exitStatus, 9) << result.output;
  EXPECT_NE(result.output.find("Unable to connect to update servers."), std::string::npos) << result.output;
  EXPECT_EQ(RunLauncher({"--headless", "--yes", "--no"}).exitStatus, 2);
}

TEST_F(HeadlessTest, WithoutATerminalARunningGameIsKeptUnlessYesIsGiven) {
  Serve();
  RunningCopy game(install / "Vexmor/VexmorGame.exe");

  auto result = RunLauncher({"--headless"});
  EXPECT_EQ(result.exitStatus, 11) << result.output;
  EXPECT_NE(result.output.find("You want to do this now?\n\n-> CANCEL"), std::string::npos) << result.output;
  EXPECT_FALSE(game.HasEnded());

  result = RunLauncher({"--headless", "--yes"});
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_NE(result.output.find("-> CONFIRM"), std::string::npos) << result.output;
  EXPECT_TRUE(game.Ends());
}

TEST_F(HeadlessTest, InterruptCancelsTheRun) {
  Serve();
  servers[0]->SetFault("/new_launcher/files/Vexmor/data/world.pak.gz", Drip{500});
  const auto result = RunLauncher({"--headless"}, [this](pid_t pid) {
    for (int i = 0; i < 1000 && !downloadStarted; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
  });
  EXPECT_EQ(result.exitStatus, 16) << result.output;
  EXPECT_NE(result.output.find("Update process has been cancelled."), std::string::npos) << result.output;
  EXPECT_EQ(ReadVersionRecords(install).installedVersion, 0);
}

TEST_F(HeadlessTest, ASelfUpdateRestartsTheNewLauncherHeadlessWithTheSameAnswers) {
  WriteFile(dir / "new-launcher", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/relaunched.txt\"\n");
  Serve({.launcher = dir / "new-launcher", .launcherVersion = 154});
  const auto result = RunLauncher({"--headless", "--no"});
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  for (int i = 0; i < 500 && ReadFile(install / "relaunched.txt").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadFile(install / "relaunched.txt"), "-multiwindow --headless --no\n");
  EXPECT_EQ(ReadFile(install / "vexmor-launcher"), ReadFile(dir / "new-launcher"));
}

}  // namespace
}  // namespace vexmor::test
