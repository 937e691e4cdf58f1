// Hostile and broken update servers: transfers cut off, stalled or slow, certificates that cannot
// be verified, documents signed by a key the launcher does not know, a signed but truncated game
// file, documents without end. Each case checks the outcome the engine reports and the files on
// disk afterwards: an old file is never lost, nothing from an unverified source is used, and a
// following run over a good address ends with a verified installation.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "patcher/messages.h"
#include "support/digest/sha256_file.h"
#include "support/paths/text.h"
#include "tests/faults/fault_fixture.h"

namespace vexmor::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kPak = "Vexmor/data/world.pak";
constexpr const char* kPakGz = "/new_launcher/files/Vexmor/data/world.pak.gz";
constexpr const char* kLarge = "Vexmor/data/large.pak";
constexpr const char* kLargeGz = "/new_launcher/files/Vexmor/data/large.pak.gz";

class NetworkFaultTest : public FaultFixture {
 public:
  std::int64_t ServedSize(const std::string& path, int position = 1) {
    return static_cast<std::int64_t>(std::filesystem::file_size(servers->tree(position) / path.substr(1)));
  }
  // A file large enough to be expanded while it downloads: random, so its compressed copy is too.
  void AddLargeFile() {
    std::mt19937 random(11);
    std::string bytes(5 << 20, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    WriteFile(root / kLarge, bytes);
  }
  void Restart() {
    servers.reset();
    std::filesystem::remove_all(dir / "servers");
    std::filesystem::remove_all(install);
    std::filesystem::create_directories(install);
  }
};

TEST_F(NetworkFaultTest, ABrokenTransferFailsItsAttemptAndTheNextAddressCompletesTheUpdate) {
  struct Case {
    const char* name;
    const char* path;
    std::function<Fault(NetworkFaultTest&)> fault;
    PatchStage outcome;
    std::wstring_view message;
    bool gameFilesTouched;  // whether the failed attempt got as far as the other game files
    const char* file = kPak;  // a game file the failed attempt did not replace
  } cases[] = {
      {"connection dropped in the middle of a game file", kPakGz,
       [](NetworkFaultTest& t) { return DropAfter{t.ServedSize(kPakGz) / 2}; }, PatchStage::DownloadIssues,
       messages::kDownloadIssues, true},
      {"connection dropped in the middle of a game file expanded while it downloads", kLargeGz,
       [](NetworkFaultTest& t) { return DropAfter{t.ServedSize(kLargeGz) / 2}; }, PatchStage::DownloadIssues,
       messages::kDownloadIssues, true, kLarge},
      {"connection dropped in the middle of the checksum list", "/new_launcher/checksums.txt",
       [](NetworkFaultTest& t) { return DropAfter{t.ServedSize("/new_launcher/checksums.txt") / 2}; },
       PatchStage::PatchInfoFailed, messages::kPatchInfoFailed, false},
      {"server stalls past the watchdog in a game file", kPakGz, [](NetworkFaultTest&) { return StallAfterHeaders{}; },
       PatchStage::DownloadIssues, messages::kDownloadIssues, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AddLargeFile();
    Serve({.gameVersion = 6});
    InstallOldFiles();
    WriteFile(Installed(kLarge), OldContents(kLarge));
    const Fault fault = c.fault(*this);
    servers->server(1).SetFault(c.path, fault);
    auto patcher = MakeRecordingPatcher(500ms);  // the watchdog, shortened

    EXPECT_EQ(AttemptOn(*patcher, 1), c.outcome);
    EXPECT_EQ(patcher->StatusText(), c.message);
    EXPECT_EQ(ReadFile(Installed(c.file)), OldContents(c.file));  // the file that failed is intact
    EXPECT_EQ(IsInstalledLikePublished("Vexmor/data/small.txt"), c.gameFilesTouched);
    ExpectNoExpansionLeftovers();
    EXPECT_EQ(InstalledVersion(), 0);
    EXPECT_TRUE(questions.empty());  // not the last address: no list shown
    if (const auto* drop = std::get_if<DropAfter>(&fault)) {  // a stalled request is logged only when the server stops
      const auto faulted = AwaitRequests(servers->server(1), c.path, 1);
      ASSERT_EQ(faulted.size(), 1u);
      EXPECT_EQ(faulted[0].bytes, drop->bodyBytes);
    }

    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);  // first address fails again, the second serves
    EXPECT_EQ(patcher->StatusText(), messages::kAllFilesUpdated);
    ExpectVerifiedInstallation(6);
    EXPECT_TRUE(IsInstalledLikePublished(kLarge));
    Restart();
  }
}

TEST_F(NetworkFaultTest, ADroppedLauncherDownloadKeepsTheRunningLauncherAndTheGameIsUpdated) {
  WriteFile(install / "vexmor-launcher", "old launcher");
  WriteFile(dir / "published-launcher", std::string(100000, 'L'));
  Serve({.gameVersion = 2, .launcher = dir / "published-launcher", .launcherVersion = 154});
  servers->server(1).SetFault("/new_launcher/Vexmor.exe", DropAfter{40000});
  auto patcher = MakeRecordingPatcher();

  // One attempt only: a replacement that succeeded would end this process.
  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::Finished);
  EXPECT_EQ(ReadFile(install / "vexmor-launcher"), "old launcher");
  EXPECT_FALSE(std::filesystem::exists(install / "old_launcher.bak"));
  EXPECT_EQ(ReadFile(install / "latest_launcher.is_downloaded"), std::string(40000, 'L'));  // overwritten next time
  ASSERT_EQ(RequestsFor(servers->server(1), "/Vexmor.exe").size(), 1u);
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
  EXPECT_EQ(InstalledVersion(), 2);
}

TEST_F(NetworkFaultTest, ASlowServerThatKeepsSendingIsNeverAbortedByTheWatchdog) {
  Serve({.gameVersion = 3});
  auto patcher = MakeRecordingPatcher(300ms);
  ASSERT_EQ(AttemptOn(*patcher, 1), PatchStage::Finished);
  WriteInstalledVersion(install, 0);
  WriteFile(Installed(kPak), OldContents(kPak));

  // A twentieth of the file every 0.1 s: two seconds in all, more than six times the watchdog's
  // time, but never a pause near it.
  const std::int64_t size = ServedSize(kPakGz);
  ASSERT_GE(size, 200);
  servers->server(1).SetFault(kPakGz, Drip{size / 2});
  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::Finished);
  EXPECT_EQ(patcher->StatusText(), messages::kAllFilesUpdated);
  const auto served = RequestsFor(servers->server(1), kPakGz);
  ASSERT_EQ(served.size(), 2u);
  EXPECT_EQ(served[1].bytes, size);
  ExpectVerifiedInstallation(3);
}

TEST_F(NetworkFaultTest, AnAddressWhoseCertificateCannotBeVerifiedIsSkippedLikeAnUnreachableOne) {
  for (auto certificate : {TestCertificate::Untrusted, TestCertificate::OtherHost}) {
    SCOPED_TRACE(certificate == TestCertificate::Untrusted ? "unknown authority" : "another host name");
    Serve({.gameVersion = 4});
    InstallOldFiles();
    TestServer impostor(servers->tree(1), "", certificate);
    auto urls = servers->Urls();
    urls[0] = impostor.BaseUrl();
    auto patcher = MakeRecordingPatcher(urls);

    EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
    EXPECT_TRUE(SawStatus(messages::kServerUnreachable));
    EXPECT_TRUE(impostor.Requests().empty());  // no request got past the handshake
    EXPECT_FALSE(RequestsFor(servers->server(2), "/files/").empty());
    ExpectVerifiedInstallation(4);
    Restart();
  }
}

TEST_F(NetworkFaultTest, DocumentsSignedWithAThirdKeyAreNotUsed) {
  constexpr const char* kNews = "GOOD\nHeadline\nDetail\nhttps://example.invalid/good\n";
  WriteFile(dir / "news.txt", kNews);
  Serve({.gameVersion = 5, .news = dir / "news.txt"});
  const auto documents = servers->tree(1) / "new_launcher";
  // The first address offers its own news and its own world.pak, listed with its digest.
  WriteFile(documents / "news.txt", "EVIL\nHeadline\nDetail\nhttps://example.invalid/evil\n");
  Sign(documents / "news.txt", documents / "news.sig", "untrusted");
  const auto hostilePak = servers->tree(1) / std::string(kPakGz).substr(1);
  const std::string goodDigest = Sha256FileHex(hostilePak);
  WriteFile(hostilePak, "not the game's file");
  std::string list = ReadFile(documents / "checksums.txt");
  list.replace(list.find(goodDigest), 64, Sha256FileHex(hostilePak));
  WriteFile(documents / "checksums.txt", list);
  Sign(documents / "checksums.txt", documents / "checksums.sig", "untrusted");
  InstallOldFiles();
  auto patcher = MakeRecordingPatcher();

  EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::PatchInfoFailed);
  EXPECT_EQ(patcher->StatusText(), messages::kPatchInfoVerificationFailed);
  EXPECT_EQ(patcher->NewsText(), L"");
  ExpectOldFiles();
  EXPECT_EQ(InstalledVersion(), 0);

  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->NewsText(), L"GOOD\nHeadline\nDetail\nhttps://example.invalid/good\n");
  EXPECT_EQ(RequestsFor(servers->server(1), "/news.txt").size(), 2u);  // fetched, never shown
  EXPECT_TRUE(RequestsFor(servers->server(1), "/files/").empty());
  ExpectVerifiedInstallation(5);
}

TEST_F(NetworkFaultTest, ATruncatedGameFileThatTheSignedListVouchesForIsNotInstalled) {
  // The publisher signed a list over an upload that was cut short: the digest matches, the
  // compressed stream ends early.
  for (const char* file : {kPak, kLarge}) {
    SCOPED_TRACE(file == kPak ? "expanded after the download" : "expanded while it downloads");
    AddLargeFile();
    Serve({.gameVersion = 2});
    const auto gz = servers->tree(1) / "new_launcher/files" / (std::string(file) + ".gz");
    const std::string whole = ReadFile(gz);
    const std::string goodDigest = Sha256FileHex(gz);
    WriteFile(gz, whole.substr(0, whole.size() / 2));
    EditChecksumList(1, [&](std::string list) { return list.replace(list.find(goodDigest), 64, Sha256FileHex(gz)); });
    InstallOldFiles();
    WriteFile(Installed(kLarge), OldContents(kLarge));
    auto patcher = MakeRecordingPatcher();

    // Expansion failures count as local and end the run, as for any damaged compressed data.
    EXPECT_EQ(AttemptOn(*patcher, 1), PatchStage::LocalIssues);
    EXPECT_EQ(patcher->StatusText(), messages::kLocalIssues);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].text.find(AnsiToWide(file) + L" (Error: is failed to decompress)"), std::wstring::npos);
    EXPECT_EQ(ReadFile(Installed(file)), OldContents(file));
    EXPECT_EQ(InstalledVersion(), 0);
    ExpectNoExpansionLeftovers();
    Restart();
  }
}

// Peak resident memory of this process since the last reset, in MiB; -1 when the system cannot tell.
long PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6)) / 1024;
  }
  return -1;
}

// Resets the peak to the present resident size. False where the peak cannot be reset, or means
// nothing: the sanitizers keep freed memory in quarantine and add shadow memory of their own.
bool ResetPeakResident() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return false;
#else
  return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5");
#endif
}

TEST_F(NetworkFaultTest, DocumentsWithoutEndAreRefusedWithinBoundedMemory) {
  struct Case {
    const char* name;
    const char* path;
    PatchStage outcome;
    std::wstring_view message;
  } cases[] = {
      {"release document", "/new_launcher/latest.txt", PatchStage::ServerDataFailed, messages::kServerDataFailed},
      {"checksum list", "/new_launcher/checksums.txt", PatchStage::PatchInfoFailed, messages::kPatchInfoFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Serve();
    InstallOldFiles();
    servers->server(1).SetFault(c.path, Endless{});
    auto patcher = MakeRecordingPatcher();
    const bool measured = ResetPeakResident();
    const long before = PeakResidentMiB();
    EXPECT_EQ(AttemptOn(*patcher, 1), c.outcome);
    EXPECT_EQ(patcher->StatusText(), c.message);
    if (measured) {  // at most the limit and, while it moved, the half it grew from
      EXPECT_LT(PeakResidentMiB() - before, static_cast<long>(3 * kMaxMemoryBodyBytes / 2 >> 20));
    }
    const auto served = AwaitRequests(servers->server(1), c.path, 1);
    ASSERT_EQ(served.size(), 1u);
    EXPECT_GT(served[0].bytes, static_cast<std::int64_t>(kMaxMemoryBodyBytes - (1 << 20)));  // taken up to the limit
    EXPECT_TRUE(RequestsFor(servers->server(1), "/files/").empty());
    ExpectOldFiles();
    Restart();
  }
}

}  // namespace
}  // namespace vexmor::test
