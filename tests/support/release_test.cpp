#include <gtest/gtest.h>

#include "support/release/release_info.h"

namespace vexmor {
namespace {

template <typename Set>
ReleaseInfo Make(Set set) {
  ReleaseInfo release;
  set(release);
  return release;
}

TEST(ParseReleaseInfo, ReadsTheDocumentLevelKeys) {
  ReleaseInfo release;
  release.valid = true;
  ASSERT_TRUE(ParseReleaseInfo("game_version = 25\r\n"
                               "launcher_version = 154\r\n"
                               "launcher_size = 3145728\r\n"
                               "launcher_checksum = 0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\r\n"
                               "announce_version = 3\r\n"
                               "announce_link = https://example.org/news?id=3\r\n"
                               "website_link = https://example.org/\r\n"
                               "forum_link = https://forum.example.org/\r\n"
                               "unknown_key = ignored\r\n"
                               "[release]\r\n"
                               "game_version = 99\r\n",
                               release));
  ReleaseInfo expected;
  expected.gameVersion = 25;
  expected.launcherVersion = 154;
  expected.launcherSize = 3145728;
  expected.launcherChecksum = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
  expected.announceVersion = 3;
  expected.announceLink = "https://example.org/news?id=3";
  expected.websiteLink = "https://example.org/";
  expected.forumLink = "https://forum.example.org/";
  expected.valid = true;  // left as it was
  EXPECT_EQ(release, expected);
}

TEST(ParseReleaseInfo, ValuesAsTheReaderStoresThem) {
  struct Case {
    const char* name;
    const char* text;
    ReleaseInfo expected;
  } cases[] = {
      {"only the game version", "game_version = 25", Make([](ReleaseInfo& r) { r.gameVersion = 25; })},
      {"empty document", "", {}},
      {"size beyond 32 bits", "launcher_size = 3000000000", {}},
      {"number with a tail", "game_version = 153abc\nlauncher_version = 153 ", Make([](ReleaseInfo& r) {
         r.gameVersion = 153;
         r.launcherVersion = 153;
       })},
      {"not a number", "game_version = latest", {}},
      {"negative announcement", "announce_version = -1", Make([](ReleaseInfo& r) { r.announceVersion = -1; })},
      {"link cut at '#'", "website_link = x/page#top", Make([](ReleaseInfo& r) { r.websiteLink = "x/page"; })},
      {"link cut at ';' keeps the blank", "forum_link = x/forum ;old",
       Make([](ReleaseInfo& r) { r.forumLink = "x/forum "; })},
      {"keys are case-sensitive", "Game_Version = 25", {}},
      {"keys inside a section are not seen", "[release]\ngame_version = 25\nwebsite_link = x", {}},
  };
  for (const auto& c : cases) {
    ReleaseInfo release;
    EXPECT_TRUE(ParseReleaseInfo(c.text, release)) << c.name;
    EXPECT_EQ(release, c.expected) << c.name;
  }
}

TEST(ParseReleaseInfo, MalformedDocumentChangesNothing) {
  ReleaseInfo before;
  before.gameVersion = 7;
  before.websiteLink = "kept";
  before.valid = true;
  for (const char* text : {"game_version = 25\ngame_version = 25", "game_version = 25\nbroken", "[[deep]]",
                           "[a]\n[a]"}) {
    ReleaseInfo release = before;
    EXPECT_FALSE(ParseReleaseInfo(text, release)) << text;
    EXPECT_EQ(release, before) << text;
  }
}

}  // namespace
}  // namespace vexmor
