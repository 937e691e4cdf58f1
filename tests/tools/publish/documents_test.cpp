#include "tools/publish/documents.h"

#include <gtest/gtest.h>

#include "support/patchinfo/patch_list.h"
#include "support/release/release_info.h"

namespace vexmor::publish {
namespace {

const std::string kDigestA(64, 'a');
const std::string kDigestB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

TEST(PublishDocumentsTest, ChecksumListHasFiveTabSeparatedFieldsPerLine) {
  const std::vector<ListedFile> files = {
      {"Vexmor/Option.ini", 81, 98, 0x0012ABCD, kDigestA},
      {"Vexmor/empty.dat", 0, 20, 0, kDigestB},
  };
  EXPECT_EQ(ChecksumListText(files), "Vexmor/Option.ini\t81\t98\t0012ABCD\t" + kDigestA +
                                         "\n"
                                         "Vexmor/empty.dat\t0\t20\t00000000\t" +
                                         kDigestB + "\n");
}

TEST(PublishDocumentsTest, TheLaunchersReaderSeesTheListedValues) {
  const std::vector<ListedFile> files = {
      {"Vexmor/Data/world.pak", 2147483647, 15495004, 0xF603214A, kDigestB},
      {"Vexmor/Données/été.ini", 5, 25, 0xDEADBEEF, kDigestA},
  };
  std::vector<PatchEntry> entries;
  std::int64_t total = 0;
  ASSERT_TRUE(ReadPatchList(ChecksumListText(files), entries, total, nullptr));
  ASSERT_EQ(entries.size(), 2u);
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(entries[i].path, files[i].path);
    EXPECT_EQ(entries[i].size, files[i].size);
    EXPECT_EQ(entries[i].compressedSize, files[i].compressedSize);
    EXPECT_EQ(entries[i].sha256, files[i].sha256);
  }
  EXPECT_EQ(entries[0].crc, "F603214A");
  EXPECT_EQ(total, 2147483647LL + 5);
}

TEST(PublishDocumentsTest, TheLaunchersReaderSeesTheReleaseValues) {
  ReleaseValues values;
  values.gameVersion = 42;
  values.launcher = PublishedLauncher{154, 3000000, kDigestB};
  values.announceVersion = 7;
  values.announceLink = "https://vexmor.example/news/7?from=launcher";
  values.websiteLink = "https://vexmor.example";
  values.forumLink = "https://forum.vexmor.example/board/1";
  ReleaseInfo release;
  ASSERT_TRUE(ParseReleaseInfo(ReleaseDocumentText(values), release));
  EXPECT_EQ(release.gameVersion, 42);
  EXPECT_EQ(release.launcherVersion, 154);
  EXPECT_EQ(release.launcherSize, 3000000);
  EXPECT_EQ(release.launcherChecksum, kDigestB);
  EXPECT_EQ(release.announceVersion, 7);
  EXPECT_EQ(release.announceLink, values.announceLink);
  EXPECT_EQ(release.websiteLink, values.websiteLink);
  EXPECT_EQ(release.forumLink, values.forumLink);
}

TEST(PublishDocumentsTest, ReleaseWithoutOptionalValuesHasOnlyTheGameVersion) {
  ReleaseValues values;
  values.gameVersion = 3;
  EXPECT_EQ(ReleaseDocumentText(values), "game_version = 3\n");
}

TEST(PublishDocumentsTest, LinksTheReleaseReaderWouldChangeAreRefused) {
  EXPECT_EQ(LinkProblem("https://vexmor.example/a?b=c&d=e"), "");
  for (const char* wrong : {"", "https://x/page#top", "https://x/a;b", "https://x/\n", "https://x/\r",
                            " https://x", "https://x "}) {
    EXPECT_NE(LinkProblem(wrong), "") << wrong;
  }
}

TEST(PublishDocumentsTest, NewsWarnings) {
  const std::string entry = "NEW\nHeadline\nDetail\nhttps://x\n";
  EXPECT_TRUE(NewsWarnings(entry + "\n" + entry).empty());
  EXPECT_TRUE(NewsWarnings("A\r\nB\r\n\r\nC\r\nD\r\n").empty()) << "CRLF, a blank line between";
  EXPECT_EQ(NewsWarnings(entry + "Half\nan entry\n").size(), 1u);
  EXPECT_EQ(NewsWarnings(entry + entry + entry + entry).size(), 1u);
  EXPECT_EQ(NewsWarnings(entry + std::string("\0", 1) + entry).size(), 1u);
}

}  // namespace
}  // namespace vexmor::publish
