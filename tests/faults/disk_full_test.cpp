// The disk filling up while a game file is downloaded and while it is expanded. The installation
// lies on a small tmpfs that the test mounts (root only; skipped where mounting is not permitted),
// filled up to the free space each case needs. The engine must report the failure as a failure,
// keep the old file, and complete the update once there is room again. A server that sends a game
// file or the launcher without end must not be the one that fills the disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "patcher/messages.h"
#include "tests/faults/fault_fixture.h"

namespace vexmor::test {
namespace {

constexpr const char* kPak = "Vexmor/data/world.pak";

class DiskFullTest : public FaultFixture {
 public:
  void SetUp() override {
    FaultFixture::SetUp();
    if (mount("vexmor-test", install.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=24m,mode=0755") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs as the installation folder (needs root with CAP_SYS_ADMIN): "
                   << std::strerror(errno);
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(install.c_str(), MNT_DETACH);
  }

  // Fills the installation's file system until about `bytes` stay free.
  void LeaveFree(std::uint64_t bytes) {
    struct statvfs status {};
    ASSERT_EQ(statvfs(install.c_str(), &status), 0);
    const std::uint64_t available = std::uint64_t{status.f_bavail} * status.f_frsize;
    ASSERT_GT(available, bytes);
    const int fd = open(Filler().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(posix_fallocate(fd, 0, static_cast<off_t>(available - bytes)), 0);
    close(fd);
  }
  std::filesystem::path Filler() const { return install / "filler"; }

  // The published game installed at version 1, with `file` changed by one byte since; version 2
  // published. Returns the sizes of the file and of its compressed copy.
  std::pair<std::uint64_t, std::uint64_t> InstallThenPublishAChange(const char* file = kPak) {
    changed_ = file;
    Serve({.gameVersion = 2});
    auto installer = MakeRecordingPatcher();
    EXPECT_EQ(RunUpdate(*installer), PatchStage::Finished);
    WriteInstalledVersion(install, 1);
    oldContents_ = ReadFile(Installed(file));
    oldContents_[1000] ^= 0x55;
    WriteFile(Installed(file), oldContents_);
    return {oldContents_.size(),
            std::filesystem::file_size(servers->tree(1) / "new_launcher/files" / (std::string(file) + ".gz"))};
  }
  // The failed attempt kept the old file and left the installation marked as not updated.
  void ExpectOldPakKept() {
    EXPECT_EQ(ReadFile(Installed(changed_)), oldContents_);
    EXPECT_EQ(InstalledVersion(), 0);
    ExpectNoExpansionLeftovers();
  }
  // With room again, the next run completes the update.
  void ExpectUpdateWithRoom() {
    std::filesystem::remove(Filler());
    auto patcher = MakeRecordingPatcher();
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
    EXPECT_EQ(patcher->StatusText(), messages::kAllFilesUpdated);
    ExpectVerifiedInstallation(2);
  }

  bool mounted_ = false;
  const char* changed_ = kPak;
  std::string oldContents_;
};

TEST_F(DiskFullTest, FullDuringADownloadIsAFailedDownloadAndTheOldFileStays) {
  const auto [pakSize, gzSize] = InstallThenPublishAChange();
  LeaveFree(gzSize / 2);
  auto patcher = MakeRecordingPatcher();

  // A write that fails ends the transfer like any broken transfer: another address may do better.
  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::DownloadIssues);
  EXPECT_EQ(patcher->StatusText(), messages::kDownloadIssues);
  ExpectOldPakKept();
  ExpectUpdateWithRoom();
}

TEST_F(DiskFullTest, FullDuringAnExpansionIsALocalIssueAndTheOldFileStays) {
  const auto [pakSize, gzSize] = InstallThenPublishAChange();
  LeaveFree(gzSize + 16384 + pakSize / 2);  // the download fits, its expansion beside the old file does not
  auto patcher = MakeRecordingPatcher();

  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::LocalIssues);
  EXPECT_EQ(patcher->StatusText(), messages::kLocalIssues);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, std::wstring(messages::kFilesNotUpdatedHeading) +
                                   L"\nVexmor/data/world.pak (Error: is failed to decompress)\n\n");
  ExpectOldPakKept();
  ExpectUpdateWithRoom();
}

TEST_F(DiskFullTest, FullDuringAnExpansionWhileDownloadingIsAFailureAndTheOldFileStays) {
  constexpr const char* kLarge = "Vexmor/data/large.pak";
  std::mt19937 random(11);
  std::string large(5 << 20, '\0');  // random: its compressed copy is large enough to expand on the way
  for (char& byte : large) byte = static_cast<char>(random());
  WriteFile(root / kLarge, large);
  const auto [size, gzSize] = InstallThenPublishAChange(kLarge);
  LeaveFree(gzSize + 16384 + size / 2);
  auto patcher = MakeRecordingPatcher();

  // The download and its expansion fill the disk together: which one fails first decides the text.
  const PatchStage outcome = AttemptOn(*patcher, 1);
  EXPECT_TRUE(outcome == PatchStage::LocalIssues || outcome == PatchStage::DownloadIssues) << patcher->StatusText();
  ExpectOldPakKept();
  ExpectUpdateWithRoom();
  EXPECT_TRUE(IsInstalledLikePublished(kLarge));
}

TEST_F(DiskFullTest, AGameFileWithoutEndIsCutAtItsListedSize) {
  // Kept on the small file system, so that a download without a bound cannot fill a real disk.
  const auto [pakSize, gzSize] = InstallThenPublishAChange();
  servers->server(1).SetFault("/new_launcher/files/Vexmor/data/world.pak.gz", Endless{});
  auto patcher = MakeRecordingPatcher();

  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::DownloadIssues);
  EXPECT_LE(std::filesystem::file_size(Installed("Vexmor/data/world.pak.gz")), gzSize);  // the download stays
  ExpectOldPakKept();
  ExpectUpdateWithRoom();
}

TEST_F(DiskFullTest, ALauncherWithoutEndIsCutAtItsPublishedSize) {
  WriteFile(install / "vexmor-launcher", "old launcher");
  WriteFile(dir / "published-launcher", std::string(100000, 'L'));
  Serve({.launcher = dir / "published-launcher", .launcherVersion = 154});
  servers->server(1).SetFault("/new_launcher/Vexmor.exe", Endless{});
  auto patcher = MakeRecordingPatcher();

  // A replacement that fails is silent: the game is still updated.
  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::Finished);
  EXPECT_EQ(ReadFile(install / "vexmor-launcher"), "old launcher");
  EXPECT_LE(std::filesystem::file_size(install / "latest_launcher.is_downloaded"), 100000u);
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
}

}  // namespace
}  // namespace vexmor::test
