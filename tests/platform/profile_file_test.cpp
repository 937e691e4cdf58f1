#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/profile_file.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ProfileFileTest : public testing::Test {
 protected:
  test::TempDir dir_;
  fs::path file_ = dir_ / "Launcher.ini";
};

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Version", 7), 7);
  test::WriteFile(file_, "[Other]\nVersion=3\n[Patch]\nAnnounce=4\n");
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Version", 7), 7);
  EXPECT_EQ(GetProfileInt(file_, "Missing", "Announce", -1), -1);
  EXPECT_EQ(GetProfileInt(file_, "patch", "ANNOUNCE", 7), 4);
  EXPECT_EQ(GetProfileInt(dir_.path(), "Patch", "Version", 7), 7) << "a directory";
}

TEST_F(ProfileFileTest, PresentKeyIsReadAsANumber) {
  test::WriteFile(file_, "[Patch]\r\nVersion=25abc\r\nAnnounce=none\r\nEmpty=\r\n");
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Version", 7), 25);
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Announce", 7), 0);
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Empty", 7), 0);
}

TEST_F(ProfileFileTest, WriteCreatesTheFileAndReadsBack) {
  ASSERT_TRUE(WriteProfileString(file_, "Patch", "Version", "0"));
  ASSERT_TRUE(WriteProfileString(file_, "Patch", "Announce", "3"));
  ASSERT_TRUE(WriteProfileString(file_, "Patch", "Version", "25"));
  EXPECT_EQ(test::ReadFile(file_), "[Patch]\nVersion=25\nAnnounce=3\n");
  EXPECT_EQ(GetProfileInt(file_, "Patch", "Version", 7), 25);
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"Launcher.ini"});
}

TEST_F(ProfileFileTest, WriteKeepsEveryOtherLine) {
  test::WriteFile(file_, "; written by hand\r\n[Patch]\r\nversion = 3 ; old\r\nAnnounce=2\r\n\r\n[Mine]\r\nx = y\r\n");
  ASSERT_TRUE(WriteProfileString(file_, "PATCH", "Version", "25"));
  EXPECT_EQ(test::ReadFile(file_), "; written by hand\r\n[Patch]\r\nversion=25\r\nAnnounce=2\r\n\r\n[Mine]\r\nx = y\r\n");
}

TEST_F(ProfileFileTest, FailedWriteLeavesTheFile) {
  EXPECT_FALSE(WriteProfileString(dir_ / "missing" / "Launcher.ini", "Patch", "Version", "1")) << "missing folder";

  test::WriteFile(file_, "[Patch]\nVersion=3\n");
  fs::permissions(file_, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(WriteProfileString(file_, "Patch", "Version", "4")) << "read-only file";
  EXPECT_FALSE(WriteProfileString(file_, "Patch", "Version", "4\n[x]")) << "value with a line break";
  EXPECT_EQ(test::ReadFile(file_), "[Patch]\nVersion=3\n");
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"Launcher.ini"});

  const fs::path folder = dir_ / "folder.ini";
  fs::create_directory(folder);
  EXPECT_FALSE(WriteProfileString(folder, "Patch", "Version", "4")) << "a directory";
  EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace vexmor::platform
