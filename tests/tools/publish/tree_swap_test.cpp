#include "tools/publish/tree_swap.h"

#include <gtest/gtest.h>

#include "tests/testlib/temp_dir.h"

namespace vexmor::publish {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Names in a folder, to see that nothing is left beside the tree.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PublishTreeSwapTest, AnAbandonedBuildLeavesTheOldTreeAndNoTrace) {
  TempDir dir;
  WriteFile(dir / "tree/cdn_status.txt", "old");
  {
    std::string error;
    StagingFolder staging(dir / "tree", error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(staging.path().parent_path(), dir.path());
    WriteFile(staging.path() / "cdn_status.txt", "new");
  }
  EXPECT_EQ(ReadFile(dir / "tree/cdn_status.txt"), "old");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"tree"});
}

TEST(PublishTreeSwapTest, TheNewTreeTakesThePlaceOfTheOldOne) {
  TempDir dir;
  WriteFile(dir / "tree/cdn_status.txt", "old");
  WriteFile(dir / "tree/new_launcher/files/gone.gz", "old");
  {
    std::string error;
    StagingFolder staging(dir / "tree", error);
    WriteFile(staging.path() / "cdn_status.txt", "new");
    EXPECT_EQ(staging.SwapIntoPlace(), "");
  }
  EXPECT_EQ(ReadFile(dir / "tree/cdn_status.txt"), "new");
  EXPECT_FALSE(fs::exists(dir / "tree/new_launcher"));
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"tree"});
  EXPECT_EQ(fs::status(dir / "tree").permissions() & fs::perms::others_read, fs::perms::others_read)
      << "servers running as another user can read it";
}

TEST(PublishTreeSwapTest, AFirstTreeIsMovedIntoPlace) {
  TempDir dir;
  {
    std::string error;
    StagingFolder staging(dir / "new/tree", error);
    ASSERT_EQ(error, "");
    WriteFile(staging.path() / "cdn_status.txt", "first");
    EXPECT_EQ(staging.SwapIntoPlace(), "");
  }
  EXPECT_EQ(ReadFile(dir / "new/tree/cdn_status.txt"), "first");
  EXPECT_EQ(Names(dir / "new"), std::vector<std::string>{"tree"});
}

}  // namespace
}  // namespace vexmor::publish
