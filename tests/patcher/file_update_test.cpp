// The file check and the download of an update, against real HTTPS servers and trees made by the
// release publisher.
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "patcher/messages.h"
#include "support/digest/sha256_file.h"
#include "tests/patcher/update_fixture.h"

namespace vexmor::test {
namespace {

using std::filesystem::perms;

class FileUpdateTest : public UpdateFixture {
 protected:
  // Installs the published game with one whole run.
  void InstallGame() {
    Serve();
    auto patcher = MakePatcher();
    ASSERT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  }
  const PatchEntry& Entry(const std::vector<PatchEntry>& entries, std::string_view path) {
    for (const auto& entry : entries) {
      if (entry.path == path) return entry;
    }
    throw std::runtime_error("not listed: " + std::string(path));
  }
  void MarkAll(std::vector<PatchEntry>& entries, CheckCounts& check) {
    for (auto& entry : entries) {
      entry.needsUpdate = true;
      ++check.toDownload;
      check.bytesToDownload += entry.compressedSize;
    }
  }
};

TEST_F(FileUpdateTest, FreshInstallCreatesEveryFileAndRecordsTheVersion) {
  Serve({.gameVersion = 7});
  auto patcher = MakePatcher();
  EXPECT_EQ(RunUpdate(*patcher), PatchStage::Finished);
  EXPECT_EQ(patcher->StatusText(), messages::kAllFilesUpdated);
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
  EXPECT_FALSE(std::filesystem::exists(Installed("Vexmor/data/world.pak.gz")));
  EXPECT_EQ(InstalledVersion(), 7);
  EXPECT_TRUE(questions.empty());
}

TEST_F(FileUpdateTest, CheckMarksMissingChangedAndOddFiles) {
  InstallGame();
  auto patcher = MakePatcher();
  auto entries = PublishedEntries(*patcher);
  std::string pak = ReadFile(Installed("Vexmor/data/world.pak"));
  pak[100000] ^= 1;  // same size, other CRC
  WriteFile(Installed("Vexmor/data/world.pak"), pak);
  std::filesystem::remove(Installed("Vexmor/data/small.txt"));
  ASSERT_EQ(mkfifo(Installed("Vexmor/data/small.txt").c_str(), 0644), 0);  // nobody writes: opening must not wait
  std::filesystem::remove(Installed("Vexmor/VexmorGame.exe"));
  std::filesystem::create_directory(Installed("Vexmor/VexmorGame.exe"));  // a folder where a file is listed
  WriteFile(Installed("Vexmor/Option.ini"), "the player's own settings, any size");

  CheckCounts counts;
  ASSERT_TRUE(patcher->CheckFiles(entries, counts, 0, 0));
  EXPECT_TRUE(Entry(entries, "Vexmor/data/world.pak").needsUpdate);
  EXPECT_TRUE(Entry(entries, "Vexmor/data/small.txt").needsUpdate);
  EXPECT_TRUE(Entry(entries, "Vexmor/VexmorGame.exe").needsUpdate);
  EXPECT_FALSE(Entry(entries, "Vexmor/Option.ini").needsUpdate);  // preserved while present
  EXPECT_EQ(counts.toDownload, 3);
  EXPECT_EQ(counts.bytesToDownload, Entry(entries, "Vexmor/data/world.pak").compressedSize +
                                        Entry(entries, "Vexmor/data/small.txt").compressedSize +
                                        Entry(entries, "Vexmor/VexmorGame.exe").compressedSize);
  EXPECT_EQ(counts.notOpened, 0);
  EXPECT_EQ(patcher->fileIndex.load(), 4);
  EXPECT_EQ(patcher->bytesDone.load(), static_cast<std::int64_t>(pak.size()));  // only equal sizes are read

  std::filesystem::remove(Installed("Vexmor/Option.ini"));  // an absent preserved file is downloaded
  ASSERT_TRUE(patcher->CheckFiles(entries, counts, 0, 0));
  EXPECT_TRUE(Entry(entries, "Vexmor/Option.ini").needsUpdate);
}

TEST_F(FileUpdateTest, ReadOnlyFilesAreLeftAloneAndUnreadableOnesReported) {
  InstallGame();
  WriteFile(Installed("Vexmor/data/small.txt"), "other!\n");  // same size, other contents
  std::filesystem::permissions(Installed("Vexmor/data/small.txt"), perms::owner_read | perms::group_read);
  WriteFile(Installed("Vexmor/VexmorGame.exe"), "shorter");
  std::filesystem::permissions(Installed("Vexmor/VexmorGame.exe"), perms::owner_read);
  std::filesystem::permissions(Installed("Vexmor/data/world.pak"), perms::none);

  auto patcher = MakePatcher();
  auto entries = PublishedEntries(*patcher);
  CheckCounts counts;
  ASSERT_TRUE(patcher->CheckFiles(entries, counts, 0, 0));
  EXPECT_EQ(counts.toDownload, 0);
  EXPECT_EQ(counts.notOpened, 1);
  const auto& unreadable = Entry(entries, "Vexmor/data/world.pak");
  EXPECT_TRUE(unreadable.failed);
  EXPECT_FALSE(unreadable.needsUpdate);
  EXPECT_EQ(unreadable.errorText, messages::kFailedToOpenForChecking);
  EXPECT_FALSE(Entry(entries, "Vexmor/data/small.txt").failed);  // read-only: counted nowhere
  EXPECT_EQ(ReadFile(Installed("Vexmor/data/small.txt")), "other!\n");
}

TEST_F(FileUpdateTest, AnnouncementOpensOnceAtTheFirstEntryPastFifteenPercent) {
  for (int i = 4; i < 10; ++i) WriteFile(root / ("Vexmor/extra/" + std::to_string(i) + ".txt"), "x");
  Serve({.announceVersion = 5, .announceLink = "https://example.invalid/news"});
  std::int32_t indexWhenOpened = -1;
  Patcher* self = nullptr;
  auto config = TestEngineConfig(servers->Urls(), install);
  config.openLink = [&](const std::string& link) {
    openedLinks.push_back(link);
    indexWhenOpened = self->fileIndex;
    return true;
  };
  Patcher recording(config);
  self = &recording;
  ReleaseInfo release;
  release.announceLink = "https://example.invalid/news";
  recording.SetRelease(release);
  auto entries = PublishedEntries(recording);
  ASSERT_EQ(entries.size(), 10u);

  CheckCounts counts;
  ASSERT_TRUE(recording.CheckFiles(entries, counts, 4, 5));
  EXPECT_EQ(openedLinks, std::vector<std::string>{"https://example.invalid/news"});
  EXPECT_EQ(indexWhenOpened, 2);  // 2 of 10 finished: the third entry is about to be checked
  EXPECT_EQ(ReadVersionRecords(install).lastAnnouncement, 5);

  ASSERT_TRUE(recording.CheckFiles(entries, counts, 5, 5));  // already opened once
  EXPECT_EQ(openedLinks.size(), 1u);
}

TEST_F(FileUpdateTest, DownloadFailuresAreRecordedPerFileAndTargetsStayUntouched) {
  InstallGame();
  // Every installed file holds old contents that must survive a failed download.
  for (const char* file : kGameFiles) WriteFile(Installed(file), std::string("old ") + file);
  // world.pak: a corrupt deflate stream whose digest the (re-signed) list vouches for.
  const auto pakGz = servers->tree(1) / "new_launcher/files/Vexmor/data/world.pak.gz";
  std::string gz = ReadFile(pakGz);
  for (std::size_t i = 20; i < 60; ++i) gz[i] = static_cast<char>(0xFF);
  WriteFile(pakGz, gz);
  const std::string oldDigest = Sha256FileHex(servers->tree(2) / "new_launcher/files/Vexmor/data/world.pak.gz");
  EditChecksumList(1, [&](std::string list) { return list.replace(list.find(oldDigest), 64, Sha256FileHex(pakGz)); });
  servers->server(1).SetFault("/new_launcher/files/Vexmor/VexmorGame.exe.gz", RespondStatus{404, "<html>gone</html>"});
  servers->server(1).SetFault("/new_launcher/files/Vexmor/Option.ini.gz", CorruptByte{12});
  servers->server(1).SetFault("/new_launcher/files/Vexmor/data/small.txt.gz", DropAfter{5});

  // Large files are expanded while they download: listed as large, the same files take that way.
  for (const bool listedAsLarge : {false, true}) {
    SCOPED_TRACE(listedAsLarge ? "expanded while downloading" : "expanded after the download");
    for (const char* file : kGameFiles) WriteFile(Installed(file), std::string("old ") + file);
    auto patcher = MakePatcher();
    auto entries = PublishedEntries(*patcher);
    if (listedAsLarge) {
      for (auto& entry : entries) entry.compressedSize = 64 << 20;
    }
    CheckCounts check;
    MarkAll(entries, check);
    DownloadCounts counts;
    ASSERT_TRUE(patcher->DownloadFiles(servers->Urls()[0] + "/new_launcher", entries, check, counts));

    EXPECT_EQ(Entry(entries, "Vexmor/VexmorGame.exe").errorText, messages::kDownloadUnsuccessful);
    EXPECT_EQ(Entry(entries, "Vexmor/Option.ini").errorText, messages::kVerificationFailed);
    EXPECT_EQ(Entry(entries, "Vexmor/data/small.txt").errorText, messages::kDownloadUnsuccessful);
    EXPECT_EQ(Entry(entries, "Vexmor/data/world.pak").errorText, messages::kFailedToDecompress);
    EXPECT_EQ(counts.failures, 4);
    EXPECT_EQ(counts.localFailures, 1);  // only the expansion is the local file system's fault
    for (const char* file : kGameFiles) EXPECT_EQ(ReadFile(Installed(file)), std::string("old ") + file) << file;
    EXPECT_TRUE(std::filesystem::exists(Installed("Vexmor/Option.ini.gz")));  // kept after a failed verification
    EXPECT_EQ(patcher->fileIndex.load(), 4);
    EXPECT_EQ(patcher->fileCount.load(), 4);
    for (const auto& entry : std::filesystem::directory_iterator(Installed("Vexmor/data"))) {
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
    }
  }
}

TEST_F(FileUpdateTest, DownloadCountsOnlyTheMarkedFilesAndCreatesFolders) {
  Serve();
  auto patcher = MakePatcher();
  auto entries = PublishedEntries(*patcher);
  CheckCounts check;
  for (auto& entry : entries) {
    if (entry.path.starts_with("Vexmor/data/")) {
      entry.needsUpdate = true;
      ++check.toDownload;
      check.bytesToDownload += entry.compressedSize;
    }
  }
  DownloadCounts counts;
  ASSERT_TRUE(patcher->DownloadFiles(servers->Urls()[1] + "/new_launcher", entries, check, counts));
  EXPECT_EQ(counts.failures, 0);
  EXPECT_EQ(patcher->fileIndex.load(), 2);
  EXPECT_EQ(patcher->fileCount.load(), 2);
  EXPECT_EQ(patcher->bytesDone.load(), check.bytesToDownload);
  EXPECT_TRUE(IsInstalledLikePublished("Vexmor/data/world.pak"));
  EXPECT_TRUE(IsInstalledLikePublished("Vexmor/data/small.txt"));
  EXPECT_FALSE(std::filesystem::exists(Installed("Vexmor/VexmorGame.exe")));
}

TEST_F(FileUpdateTest, ALargeFileIsExpandedWhileItDownloads) {
  InstallGame();
  WriteFile(Installed("Vexmor/data/world.pak"), "old world");
  auto patcher = MakePatcher();
  auto entries = PublishedEntries(*patcher);
  auto& pak = *std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.path == "Vexmor/data/world.pak"; });
  pak.compressedSize = 64 << 20;  // listed as large: expanded on a second thread as it arrives
  pak.needsUpdate = true;
  const CheckCounts check{0, 1, pak.compressedSize};
  DownloadCounts counts;
  ASSERT_TRUE(patcher->DownloadFiles(servers->Urls()[0] + "/new_launcher", entries, check, counts));
  EXPECT_EQ(counts.failures, 0);
  EXPECT_TRUE(IsInstalledLikePublished("Vexmor/data/world.pak"));
  for (const auto& entry : std::filesystem::directory_iterator(Installed("Vexmor/data"))) {
    const auto name = entry.path().filename().string();
    EXPECT_TRUE(name == "small.txt" || name == "world.pak") << "left behind: " << name;
  }
}

TEST_F(FileUpdateTest, CancelStopsInsideATransferAndBetweenFiles) {
  WriteFile(root / "Vexmor/0-first.pak", ReadFile(root / "Vexmor/data/world.pak"));  // listed first
  Serve();
  servers->server(1).SetFault("/new_launcher/files/Vexmor/0-first.pak.gz", Drip{20000});
  // Listed as large, the first file is also being expanded on a second thread when the cancel comes.
  for (const bool listedAsLarge : {false, true}) {
    SCOPED_TRACE(listedAsLarge ? "expanded while downloading" : "expanded after the download");
    auto patcher = MakePatcher();
    auto entries = PublishedEntries(*patcher);
    if (listedAsLarge) {
      for (auto& entry : entries) entry.compressedSize = 64 << 20;
    }
    CheckCounts check;
    MarkAll(entries, check);
    std::thread canceller([&] {
      for (int i = 0; i < 2000 && patcher->fileBytesDone < 10000; ++i) {  // bounded: a stuck run fails, never hangs
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      patcher->cancelRequested = true;
    });
    DownloadCounts counts;
    EXPECT_FALSE(patcher->DownloadFiles(servers->Urls()[0] + "/new_launcher", entries, check, counts));
    canceller.join();
    EXPECT_EQ(Entry(entries, "Vexmor/0-first.pak").errorText, messages::kDownloadUnsuccessful);
    EXPECT_FALSE(std::filesystem::exists(Installed("Vexmor/0-first.pak")));
    EXPECT_FALSE(std::filesystem::exists(Installed("Vexmor/Option.ini.gz")));  // the next file is not started
    for (const auto& entry : std::filesystem::directory_iterator(Installed("Vexmor"))) {
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
    }
  }
}

}  // namespace
}  // namespace vexmor::test
