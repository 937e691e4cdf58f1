#include "tools/publish/tree_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/testlib/temp_dir.h"

namespace vexmor::publish {
namespace {
namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Listed(const RootScan& scan) {
  std::vector<std::string> paths;
  for (const SourceFile& file : scan.files) paths.push_back(file.listedPath);
  return paths;
}

// True when exactly one problem names this path.
bool HasProblemFor(const RootScan& scan, const std::string& listed) {
  return std::count_if(scan.problems.begin(), scan.problems.end(),
                       [&](const std::string& problem) { return problem.starts_with(listed + ": "); }) == 1;
}

TEST(PublishTreeScanTest, ListsRegularFilesSortedWithSlashes) {
  TempDir dir;
  WriteFile(dir / "game/Vexmor/b.dat", "bb");
  WriteFile(dir / "game/Vexmor/Data/a.pak", "a");
  WriteFile(dir / "game/Launcher.dat", "");
  WriteFile(dir / "game/Vexmor/Data/sub/deep.bin", "123");
  fs::create_directories(dir / "game/Vexmor/empty-folder");
  const RootScan scan = ScanRoot(dir / "game");
  EXPECT_TRUE(scan.problems.empty());
  EXPECT_EQ(Listed(scan), (std::vector<std::string>{"Launcher.dat", "Vexmor/Data/a.pak",
                                                    "Vexmor/Data/sub/deep.bin", "Vexmor/b.dat"}));
  EXPECT_EQ(scan.files[2].size, 3);
}

TEST(PublishTreeScanTest, FollowsLinksThatStayInsideTheRoot) {
  TempDir dir;
  WriteFile(dir / "game/Vexmor/real.dat", "data");
  fs::create_symlink("real.dat", dir / "game/Vexmor/alias.dat");
  fs::create_directory_symlink("Vexmor", dir / "game/Mirror");
  const RootScan scan = ScanRoot(dir / "game");
  EXPECT_TRUE(scan.problems.empty());
  EXPECT_EQ(Listed(scan), (std::vector<std::string>{"Mirror/alias.dat", "Mirror/real.dat", "Vexmor/alias.dat",
                                                    "Vexmor/real.dat"}));
  EXPECT_EQ(scan.files[0].size, 4);
}

TEST(PublishTreeScanTest, ReportsEveryPathItCannotPublish) {
  TempDir dir;
  WriteFile(dir / "outside.dat", "secret");
  WriteFile(dir / "game/Vexmor/good.dat", "ok");
  WriteFile(dir / "game/Vexmor/tab\there.dat", "x");
  WriteFile(dir / "game/Vexmor/back\\slash.dat", "x");
  WriteFile(dir / "game/Vexmor/\xff.dat", "x");
  fs::create_symlink("../../outside.dat", dir / "game/Vexmor/escape.dat");
  fs::create_symlink(dir.path(), dir / "game/Vexmor/escape-folder");
  fs::create_symlink("missing.dat", dir / "game/Vexmor/dangling.dat");
  fs::create_directory_symlink("..", dir / "game/Vexmor/loop");
  ASSERT_EQ(mkfifo((dir / "game/Vexmor/pipe").c_str(), 0600), 0);
  {
    // Sizes are signed 32-bit in the list; a sparse file costs no space.
    WriteFile(dir / "game/Vexmor/huge.pak", "");
    fs::resize_file(dir / "game/Vexmor/huge.pak", std::uintmax_t{1} << 31);
    WriteFile(dir / "game/Vexmor/largest.pak", "");
    fs::resize_file(dir / "game/Vexmor/largest.pak", (std::uintmax_t{1} << 31) - 1);
  }
  const RootScan scan = ScanRoot(dir / "game");
  EXPECT_EQ(Listed(scan), (std::vector<std::string>{"Vexmor/good.dat", "Vexmor/largest.pak"}));
  for (const char* refused :
       {"Vexmor/tab\there.dat", "Vexmor/back\\slash.dat", "Vexmor/\xff.dat", "Vexmor/escape.dat",
        "Vexmor/escape-folder", "Vexmor/dangling.dat", "Vexmor/loop", "Vexmor/pipe", "Vexmor/huge.pak"}) {
    EXPECT_TRUE(HasProblemFor(scan, refused)) << refused;
  }
  EXPECT_EQ(scan.problems.size(), 9u);
}

TEST(PublishTreeScanTest, MissingRootIsAProblem) {
  TempDir dir;
  WriteFile(dir / "file", "x");
  EXPECT_EQ(ScanRoot(dir / "missing").problems.size(), 1u);
  EXPECT_EQ(ScanRoot(dir / "file").problems.size(), 1u);
}

}  // namespace
}  // namespace vexmor::publish
