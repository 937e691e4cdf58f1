// The launcher process killed (SIGKILL: no clean-up of any kind) in the middle of an update, then
// started again. The first attempt recorded version 0 before it touched a file, so the next start
// checks every file again and ends with a verified installation; the file that was being replaced
// survives the kill unchanged.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "patcher/messages.h"
#include "support/digest/sha256_file.h"
#include "tests/faults/fault_fixture.h"

namespace vexmor::test {
namespace {

using namespace std::chrono_literals;

// One update attempt in a process of its own (the program the self-update tests use), killed at
// the end of the test at the latest.
class AttemptProcess {
 public:
  AttemptProcess(const std::filesystem::path& install, const std::string& baseUrl) {
    const std::string keys = KeyFile("trusted-1").parent_path().string();
    const std::string ca = TlsFixture("test-ca.pem").string();
    pid_ = fork();
    if (pid_ == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      execl(VEXMOR_UPDATE_ATTEMPT_EXE, VEXMOR_UPDATE_ATTEMPT_EXE, install.c_str(), baseUrl.c_str(), keys.c_str(),
            ca.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~AttemptProcess() {
    if (pid_ > 0 && !reaped_) Kill();
  }
  AttemptProcess(const AttemptProcess&) = delete;
  AttemptProcess& operator=(const AttemptProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running() {
    int status = 0;
    if (reaped_ || waitpid(pid_, &status, WNOHANG) == 0) return !reaped_;
    reaped_ = true;
    return false;
  }
  // Kills the process; true when the kill ended it (it had not finished on its own).
  bool Kill() {
    kill(pid_, SIGKILL);
    int status = 0;
    if (reaped_ || waitpid(pid_, &status, 0) != pid_) return false;
    reaped_ = true;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

// Polls `condition` while the process runs, for at most `limit`.
bool WaitWhileRunning(AttemptProcess& process, const std::function<bool()>& condition,
                      std::chrono::milliseconds limit, std::chrono::microseconds interval) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end && process.Running()) {
    if (condition()) return true;
    std::this_thread::sleep_for(interval);
  }
  return false;
}

class ProcessKillTest : public FaultFixture {};

TEST_F(ProcessKillTest, KilledDuringADownloadTheNextStartCompletesTheUpdate) {
  Serve({.gameVersion = 3});
  InstallOldFiles();
  WriteInstalledVersion(install, 2);
  const auto pakGz = servers->tree(1) / "new_launcher/files/Vexmor/data/world.pak.gz";
  const auto gzSize = static_cast<std::int64_t>(std::filesystem::file_size(pakGz));
  servers->server(1).SetFault("/new_launcher/files/Vexmor/data/world.pak.gz", Drip{gzSize / 20});  // 20 s

  AttemptProcess attempt(install, servers->Urls()[0]);
  ASSERT_TRUE(attempt.Started());
  const auto partial = Installed("Vexmor/data/world.pak.gz");
  ASSERT_TRUE(WaitWhileRunning(
      attempt, [&] { return std::filesystem::exists(partial) && std::filesystem::file_size(partial) > 0; }, 30s, 5ms));
  ASSERT_TRUE(attempt.Kill());
  // The server notices that its client is gone before it serves the next start.
  ASSERT_EQ(AwaitRequests(servers->server(1), "/world.pak.gz", 1).size(), 1u);

  EXPECT_EQ(InstalledVersion(), 0);  // written before any file was touched
  EXPECT_EQ(ReadFile(Installed("Vexmor/data/world.pak")), OldContents("Vexmor/data/world.pak"));
  EXPECT_LT(static_cast<std::int64_t>(std::filesystem::file_size(partial)), gzSize);

  servers->server(1).ClearFaults();
  auto restarted = MakeRecordingPatcher();
  EXPECT_EQ(RunUpdate(*restarted), PatchStage::Finished);
  EXPECT_EQ(restarted->StatusText(), messages::kAllFilesUpdated);
  ExpectVerifiedInstallation(3);
}

TEST_F(ProcessKillTest, KilledDuringAnExpansionTheNextStartCompletesTheUpdate) {
  // Large enough that expanding it takes a while, small once compressed.
  constexpr const char* kHuge = "Vexmor/data/huge.bin";
  WriteFile(root / kHuge, std::string(std::size_t{192} << 20, '\0'));
  Serve({.gameVersion = 4});
  InstallOldFiles();
  WriteFile(Installed(kHuge), OldContents(kHuge));
  const std::filesystem::path folder = Installed("Vexmor/data");

  AttemptProcess attempt(install, servers->Urls()[0]);
  ASSERT_TRUE(attempt.Started());
  // The expansion writes beside the target under a name of its own: kill as soon as it appears.
  auto expanding = [&] {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const auto name = entry.path().filename().string();
      if (name.starts_with("huge.bin") && name != "huge.bin" && name != "huge.bin.gz") return true;
    }
    return false;
  };
  ASSERT_TRUE(WaitWhileRunning(attempt, expanding, 60s, 200us));
  ASSERT_TRUE(attempt.Kill()) << "the expansion ended before the kill";

  EXPECT_EQ(InstalledVersion(), 0);
  EXPECT_EQ(ReadFile(Installed(kHuge)), OldContents(kHuge));

  auto restarted = MakeRecordingPatcher();
  EXPECT_EQ(RunUpdate(*restarted), PatchStage::Finished);
  EXPECT_EQ(restarted->StatusText(), messages::kAllFilesUpdated);
  EXPECT_EQ(Sha256FileHex(Installed(kHuge)), Sha256FileHex(root / kHuge));
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
  EXPECT_EQ(InstalledVersion(), 4);
}

TEST_F(ProcessKillTest, KilledWhileAFileIsExpandedAsItDownloadsTheNextStartCompletesTheUpdate) {
  constexpr const char* kLarge = "Vexmor/data/large.pak";
  std::mt19937 random(11);
  std::string large(5 << 20, '\0');  // random: its compressed copy is large enough to expand on the way
  for (char& byte : large) byte = static_cast<char>(random());
  WriteFile(root / kLarge, large);
  Serve({.gameVersion = 5});
  InstallOldFiles();
  WriteFile(Installed(kLarge), OldContents(kLarge));
  servers->server(1).SetFault("/new_launcher/files/Vexmor/data/large.pak.gz", Drip{1 << 20});  // about 5 s

  AttemptProcess attempt(install, servers->Urls()[0]);
  ASSERT_TRUE(attempt.Started());
  auto expanding = [&] {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Installed("Vexmor/data"), error)) {
      const auto name = entry.path().filename().string();
      if (name.starts_with("large.pak.") && name != "large.pak.gz" && entry.file_size(error) > 0) return true;
    }
    return false;
  };
  ASSERT_TRUE(WaitWhileRunning(attempt, expanding, 30s, 5ms));
  ASSERT_TRUE(attempt.Kill());
  ASSERT_EQ(AwaitRequests(servers->server(1), "/large.pak.gz", 1).size(), 1u);

  EXPECT_EQ(InstalledVersion(), 0);
  EXPECT_EQ(ReadFile(Installed(kLarge)), OldContents(kLarge));

  servers->server(1).ClearFaults();
  auto restarted = MakeRecordingPatcher();
  EXPECT_EQ(RunUpdate(*restarted), PatchStage::Finished);
  EXPECT_EQ(restarted->StatusText(), messages::kAllFilesUpdated);
  EXPECT_TRUE(IsInstalledLikePublished(kLarge));
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
  EXPECT_EQ(InstalledVersion(), 5);
}

}  // namespace
}  // namespace vexmor::test
