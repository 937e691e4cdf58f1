// Whole update runs over three real HTTPS servers: every outcome, the address rule between the
// servers, the installed-version record, questions and the news.
#include <gtest/gtest.h>

#include "patcher/messages.h"
#include "support/process/game_processes.h"
#include "tests/patcher/update_fixture.h"
#include "tests/testlib/running_copy.h"

namespace vexmor::test {
namespace {

class UpdateRunTest : public UpdateFixture {
 public:
  // Paths requested from a server that belong to the game files or their list.
  static int PatchRequests(TestServer& server) {
    int count = 0;
    for (const auto& path : server.RequestedPaths()) {
      if (path.find("/checksums.") != std::string::npos || path.find("/files/") != std::string::npos) ++count;
    }
    return count;
  }
  // A path below a server's base address ("/new_launcher/...") as that server sees it.
  static std::string PathAt(int position, const std::string& path) {
    return (position == 2 ? "/vexmor-bucket" : "") + path;
  }
  void SetFaultEverywhere(const std::string& path, const Fault& fault) {
    for (int position = 1; position <= 3; ++position) servers->server(position).SetFault(PathAt(position, path), fault);
  }
};

TEST_F(UpdateRunTest, NoServerWhenAllAddressesAreUnreachable) {
  Serve();
  for (int position = 1; position <= 3; ++position) servers->server(position).Stop();
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::NoServer);
  EXPECT_EQ(patcher->StatusText(), messages::kNoServer);
  EXPECT_FALSE(std::filesystem::exists(install / "Launcher.ini"));
}

TEST_F(UpdateRunTest, AnUnreachableAddressIsSkippedForTheNext) {
  Serve();
  servers->server(1).Stop();
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_GT(PatchRequests(servers->server(2)), 0);
  EXPECT_EQ(PatchRequests(servers->server(3)), 0);
}

TEST_F(UpdateRunTest, ProbeAcceptsRedirectsToOkAndRefusesErrors) {
  Serve();
  servers->server(1).SetFault("/cdn_status.txt", RespondStatus{503, "busy"});
  servers->server(2).SetFault("/vexmor-bucket/cdn_status.txt", Redirect{302, "/vexmor-bucket/new_launcher/latest.txt"});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(PatchRequests(servers->server(1)), 0);
  EXPECT_GT(PatchRequests(servers->server(2)), 0);
}

TEST_F(UpdateRunTest, TamperedReleaseDocumentsAreNeverUsed) {
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path& txt, const std::filesystem::path& sig)> tamper;
  } cases[] = {
      {"one byte flipped", [](auto& txt, auto&) { auto t = ReadFile(txt); t[3] ^= 0x20; WriteFile(txt, t); }},
      {"CRLF line ends",
       [](auto& txt, auto&) {
         std::string crlf;
         for (char c : ReadFile(txt)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
         WriteFile(txt, crlf);
       }},
      {"Base64 signature",
       [](auto&, auto& sig) {
         ASSERT_EQ(std::system(("openssl base64 -A -in '" + sig.string() + "' -out '" + sig.string() + ".b64' && mv '" +
                                sig.string() + ".b64' '" + sig.string() + "'").c_str()), 0);
       }},
      {"empty signature", [](auto&, auto& sig) { WriteFile(sig, ""); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Serve({.gameVersion = 3});
    const auto documents = servers->tree(1) / "new_launcher";
    c.tamper(documents / "latest.txt", documents / "latest.sig");
    auto patcher = MakePatcher();
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
    EXPECT_EQ(PatchRequests(servers->server(1)), 0);
    EXPECT_EQ(InstalledVersion(), 3);
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
    std::filesystem::remove_all(install);
    std::filesystem::create_directories(install);
  }
}

TEST_F(UpdateRunTest, ReleaseSignedWithAnUnknownKeyOnEveryServerFailsTheRun) {
  Serve({.key = "untrusted"});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::ServerDataFailed);
  EXPECT_EQ(patcher->StatusText(), messages::kServerDataFailed);
  EXPECT_FALSE(patcher->Release().valid);
  EXPECT_FALSE(std::filesystem::exists(install / "Launcher.ini"));
}

TEST_F(UpdateRunTest, DocumentsSignedWithTheSecondKeyAreAccepted) {
  WriteFile(dir / "news.txt", "NEW\nHeadline\nDetail\nhttps://example.invalid/1\n");
  Serve({.key = "trusted-2", .news = dir / "news.txt"});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->NewsText(), L"NEW\nHeadline\nDetail\nhttps://example.invalid/1\n");
}

TEST_F(UpdateRunTest, CurrentVersionEndsAtOnceUnlessRepairIsRequested) {
  Serve({.gameVersion = 4});
  auto patcher = MakePatcher();
  ASSERT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  const std::string ini = ReadFile(install / "Launcher.ini");
  WriteFile(Installed("Vexmor/Option.ini"), "changed by the player");

  auto second = MakePatcher();
  const int requestsBefore = PatchRequests(servers->server(1));
  EXPECT_EQ(RunUpdate(*second), PatchStage::Finished);
  EXPECT_EQ(second->StatusText(), messages::kLatestInstalled);
  EXPECT_EQ(PatchRequests(servers->server(1)), requestsBefore);
  EXPECT_EQ(ReadFile(install / "Launcher.ini"), ini);

  std::filesystem::remove(Installed("Vexmor/data/small.txt"));
  second->repairRequested = true;
  EXPECT_EQ(RunUpdate(*second), PatchStage::Finished);
  EXPECT_EQ(second->StatusText(), messages::kAllFilesUpdated);
  EXPECT_TRUE(IsInstalledLikePublished("Vexmor/data/small.txt"));
  EXPECT_EQ(ReadFile(Installed("Vexmor/Option.ini")), "changed by the player");

  EXPECT_EQ(RunUpdate(*second), PatchStage::Finished);  // repair with nothing to do still records the version
  EXPECT_EQ(second->StatusText(), messages::kAllFilesCurrent);
  EXPECT_EQ(InstalledVersion(), 4);
}

TEST_F(UpdateRunTest, ARunningGameIsClosedOnlyWhenTheUserAgrees) {
  Serve({.gameVersion = 2});
  RunningCopy game(Installed("Vexmor/VexmorGame.exe"));

  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher, [](const auto&) { return false; }), PatchStage::GameRunning);
  EXPECT_EQ(patcher->StatusText(), messages::kGameRunning);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].kind, QuestionKind::CloseGame);
  EXPECT_EQ(questions[0].text, messages::kCloseGameQuestion);
  EXPECT_FALSE(game.HasEnded());
  EXPECT_FALSE(std::filesystem::exists(install / "Launcher.ini"));

  auto confirmClose = [this](const QuestionAnswerer::Question&) {
    CloseGameProcesses(install);  // what the window does before it answers "CONFIRM"
    return true;
  };
  EXPECT_EQ(RunUpdate(*patcher, confirmClose), PatchStage::Finished);
  EXPECT_TRUE(game.Ends());
  EXPECT_TRUE(IsInstalledLikePublished("Vexmor/VexmorGame.exe"));
}

TEST_F(UpdateRunTest, PatchInfoFailuresTryEveryAddress) {
  struct Case {
    const char* name;
    std::function<void(UpdateRunTest&)> fault;
    std::wstring_view message;
  } cases[] = {
      {"list missing",
       [](UpdateRunTest& t) { t.SetFaultEverywhere("/new_launcher/checksums.txt", RespondStatus{404, "missing"}); },
       messages::kPatchInfoFailed},
      {"signature missing",
       [](UpdateRunTest& t) { t.SetFaultEverywhere("/new_launcher/checksums.sig", RespondStatus{404, "missing"}); },
       messages::kPatchInfoSignatureFailed},
      {"list altered", [](UpdateRunTest& t) { t.SetFaultEverywhere("/new_launcher/checksums.txt", CorruptByte{2}); },
       messages::kPatchInfoVerificationFailed},
      {"signed list with a path out of the installation",
       [](UpdateRunTest& t) {
         for (int p = 1; p <= 3; ++p) {
           t.EditChecksumList(p, [](std::string list) { return list.replace(0, 6, "../../"); });
         }
       },
       messages::kPatchInfoCorrupted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Serve();
    c.fault(*this);
    auto patcher = MakePatcher();
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::PatchInfoFailed);
    EXPECT_EQ(patcher->StatusText(), c.message);
    EXPECT_EQ(InstalledVersion(), 0);
    for (int position = 1; position <= 3; ++position) EXPECT_GT(PatchRequests(servers->server(position)), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Vexmor"));  // nothing written outside the installation
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
  }
}

TEST_F(UpdateRunTest, ABadListOnTheFirstAddressAndAGoodOneOnTheSecond) {
  Serve();
  servers->server(1).SetFault("/new_launcher/checksums.txt", CorruptByte{0});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
}

TEST_F(UpdateRunTest, FilesThatCannotBeCheckedAreAskedAboutOnEveryAddressThenAgainFromTheFirst) {
  Serve({.gameVersion = 5});
  auto installer = MakePatcher();
  ASSERT_EQ(RunUpdate(*installer), PatchStage::Finished);
  WriteInstalledVersion(install, 0);
  std::filesystem::permissions(Installed("Vexmor/data/world.pak"), std::filesystem::perms::none);

  for (bool continueAnyway : {true, false}) {
    SCOPED_TRACE(continueAnyway ? "Continue anyways" : "Try again");
    auto patcher = MakePatcher();
    int asked = 0;
    // Four answers: one per address, then the first address again; then stop the cycle.
    EXPECT_EQ(RunUpdate(*patcher,
                        [&](const QuestionAnswerer::Question&) {
                          if (++asked == 4) patcher->cancelRequested = true;
                          return continueAnyway;
                        }),
              PatchStage::ServerDataFailed);
    ASSERT_EQ(questions.size(), 4u);
    EXPECT_EQ(questions[0].kind, QuestionKind::FailedFiles);
    EXPECT_EQ(questions[0].text, std::wstring(messages::kFilesNotCheckedHeading) +
                                     L"\nVexmor/data/world.pak (Error: is failed to open for checking)\n\n");
    EXPECT_EQ(InstalledVersion(), 0);
  }

  // The answer decides the message: run on the third address only to see it.
  auto config = TestEngineConfig(servers->Urls(), install, &openedLinks);
  Patcher patcher(config);
  for (const auto& [answer, message] : {std::pair{true, messages::kNothingToUpdateSomeNotChecked},
                                        std::pair{false, messages::kFilesNotChecked}}) {
    QuestionAnswerer answerer(patcher, [answer = answer](const auto&) { return answer; });
    patcher.UpdateByDomain(servers->Urls()[2], true);
    EXPECT_EQ(patcher.stage.load(), PatchStage::FilesNotChecked);
    EXPECT_EQ(patcher.StatusText(), message);
  }
}

TEST_F(UpdateRunTest, LocalIssuesEndTheRunAfterShowingTheList) {
  Serve();
  std::filesystem::create_directories(Installed("Vexmor/data/small.txt/inside"));  // a folder holds the place
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::LocalIssues);
  EXPECT_EQ(patcher->StatusText(), messages::kLocalIssues);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, std::wstring(messages::kFilesNotUpdatedHeading) +
                                   L"\nVexmor/data/small.txt (Error: is failed to decompress)\n\n");
  EXPECT_EQ(PatchRequests(servers->server(2)), 0);
  EXPECT_EQ(InstalledVersion(), 0);
}

TEST_F(UpdateRunTest, DownloadIssuesMoveOnAndAreShownOnlyOnTheLastAddress) {
  Serve();
  servers->server(1).SetFault("/new_launcher/files/*", RespondStatus{404, "missing"});
  servers->server(2).SetFault("/vexmor-bucket/new_launcher/files/*", RespondStatus{503, "busy"});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_TRUE(questions.empty());
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;

  std::filesystem::remove_all(install);
  servers->server(3).SetFault("/new_launcher/files/*", RespondStatus{404, "missing"});
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::DownloadIssues);
  EXPECT_EQ(patcher->StatusText(), messages::kDownloadIssues);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].text.ends_with(L"\n\n... and 1 more."));
  EXPECT_EQ(InstalledVersion(), 0);
}

TEST_F(UpdateRunTest, CancelDuringTheListOrADownloadEndsTheRunAsCancelled) {
  struct Case {
    const char* name;
    const char* slowPath;
    Fault slowness;
    PatchStage cancelDuring;
  } cases[] = {
      {"list", "/new_launcher/checksums.txt", StallAfterHeaders{}, PatchStage::FetchingPatchInfo},
      {"download", "/new_launcher/files/Vexmor/data/world.pak.gz", Drip{2000}, PatchStage::DownloadingFiles},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Serve();
    servers->server(1).SetFault(c.slowPath, c.slowness);
    auto patcher = MakePatcher();
    std::thread canceller([&] {
      // Bounded, so that a run that never gets there fails the test instead of hanging it.
      for (int i = 0; i < 2000 && patcher->stage.load() != c.cancelDuring; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      patcher->cancelRequested = true;
    });
    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Cancelled);
    canceller.join();
    EXPECT_EQ(patcher->StatusText(), messages::kCancelled);
    EXPECT_FALSE(patcher->cancelRequested.load());
    EXPECT_EQ(InstalledVersion(), 0);
    EXPECT_EQ(PatchRequests(servers->server(2)), 0);
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
  }
}

TEST_F(UpdateRunTest, NewsIsFetchedOnceAndKeptAcrossRuns) {
  WriteFile(dir / "news.txt", "A\r\nB\r\nC\r\nhttps://example.invalid/a\r\n");
  Serve({.news = dir / "news.txt"});
  SetFaultEverywhere("/new_launcher/news.txt", RespondStatus{404, "none yet"});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->NewsText(), L"");

  for (int position = 1; position <= 3; ++position) servers->server(position).ClearFaults();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->NewsText(), L"A\r\nB\r\nC\r\nhttps://example.invalid/a\r\n");  // CRLF kept as served

  WriteFile(servers->tree(1) / "new_launcher/news.txt", "changed");
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->NewsText(), L"A\r\nB\r\nC\r\nhttps://example.invalid/a\r\n");
}

}  // namespace
}  // namespace vexmor::test
