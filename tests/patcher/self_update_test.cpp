// The launcher's replacement of itself, with the files on disk checked after each way it can end.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/patcher/update_fixture.h"
#include "tests/testlib/test_server.h"

namespace vexmor::test {
namespace {

constexpr const char* kOldLauncher = "#!/bin/sh\necho old launcher\n";
// The published launcher records how it was started, next to itself.
constexpr const char* kNewLauncher = "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/relaunched.txt\"\n";

class SelfUpdateTest : public UpdateFixture {
 public:
  void SetUp() override {
    UpdateFixture::SetUp();
    WriteFile(install / "vexmor-launcher", kOldLauncher);
    std::filesystem::permissions(install / "vexmor-launcher", std::filesystem::perms::owner_all);
  }
  void ServeLauncher(std::string_view contents, int version = 154) {
    WriteFile(dir / "published-launcher", contents);
    Serve({.launcher = dir / "published-launcher", .launcherVersion = version});
  }
  int LauncherRequests() {
    int count = 0;
    for (const auto& path : servers->server(1).RequestedPaths()) count += path.ends_with("/Vexmor.exe");
    return count;
  }
  std::string Launcher() { return ReadFile(install / "vexmor-launcher"); }
  bool Exists(const char* name) { return std::filesystem::exists(install / name); }
};

TEST_F(SelfUpdateTest, OnlyAnotherPublishedVersionIsDownloaded) {
  for (int version : {153, 0}) {
    if (version) {
      ServeLauncher(kNewLauncher, version);
    } else {
      Serve();  // a release document without a launcher version
    }
    auto patcher = MakePatcher();
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
    EXPECT_EQ(LauncherRequests(), 0) << version;
    EXPECT_EQ(patcher->LauncherUpdateTitle(), L"");
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
  }
}

TEST_F(SelfUpdateTest, FailuresLeaveTheOldLauncherInPlaceAndTheUpdateGoesOn) {
  struct Case {
    const char* name;
    std::function<void(SelfUpdateTest&)> arrange;
    bool downloadRemains;
  } cases[] = {
      {"not downloaded",
       [](SelfUpdateTest& t) { t.servers->server(1).SetFault("/new_launcher/Vexmor.exe", RespondStatus{404, "gone"}); },
       true},
      {"digest differs",
       [](SelfUpdateTest& t) { t.servers->server(1).SetFault("/new_launcher/Vexmor.exe", CorruptByte{3}); }, false},
      {"digest published in upper case",
       [](SelfUpdateTest& t) {
         const auto latest = t.servers->tree(1) / "new_launcher/latest.txt";
         std::string text = ReadFile(latest);
         const auto at = text.find("launcher_checksum");
         for (auto i = text.find('=', at); i < text.size() && text[i] != '\n'; ++i) text[i] = std::toupper(text[i]);
         WriteFile(latest, text);
         t.Sign(latest, t.servers->tree(1) / "new_launcher/latest.sig");
       },
       false},
      {"a backup is still there", [](SelfUpdateTest& t) { WriteFile(t.install / "old_launcher.bak", "older"); },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ServeLauncher(kNewLauncher);
    auto patcher = MakePatcher();
    c.arrange(*this);
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
    EXPECT_EQ(patcher->LauncherUpdateTitle(), L"Updating your launcher to v1.54");
    EXPECT_EQ(LauncherRequests(), 1);
    EXPECT_EQ(Launcher(), kOldLauncher);
    EXPECT_EQ(Exists("latest_launcher.is_downloaded"), c.downloadRemains);
    EXPECT_FALSE(Exists("relaunched.txt"));
    EXPECT_TRUE(IsInstalledLikePublished("Vexmor/data/world.pak"));  // the game was still updated
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
    std::filesystem::remove(install / "latest_launcher.is_downloaded");
    std::filesystem::remove(install / "old_launcher.bak");
  }
}

TEST_F(SelfUpdateTest, ALauncherThatCannotStartIsRemovedAndTheOldOneRestored) {
  ServeLauncher("neither a script nor a program", 152);  // an older version is installed too
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(LauncherRequests(), 1);
  EXPECT_EQ(Launcher(), kOldLauncher);
  EXPECT_FALSE(Exists("old_launcher.bak"));
  EXPECT_FALSE(Exists("latest_launcher.is_downloaded"));
}

TEST_F(SelfUpdateTest, TheNewLauncherIsSwappedInStartedAndThisProcessEnds) {
  ServeLauncher(kNewLauncher, 200);
  // The swap ends the process that performs it: run the attempt in a process of its own.
  const std::string command = std::string("'") + VEXMOR_UPDATE_ATTEMPT_EXE + "' '" + install.string() + "' '" +
                              servers->Urls()[0] + "' '" + KeyFile("trusted-1").parent_path().string() + "' '" +
                              TlsFixture("test-ca.pem").string() + "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(Launcher(), kNewLauncher);
  EXPECT_EQ(ReadFile(install / "old_launcher.bak"), kOldLauncher);
  EXPECT_FALSE(Exists("latest_launcher.is_downloaded"));
  for (int i = 0; i < 500 && ReadFile(install / "relaunched.txt").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadFile(install / "relaunched.txt"), "-multiwindow\n");

  Patcher next(TestEngineConfig(servers->Urls(), install));  // the next start removes the backup
  EXPECT_FALSE(Exists("old_launcher.bak"));
}

}  // namespace
}  // namespace vexmor::test
