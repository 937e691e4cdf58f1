#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/gunzip/concurrent_gunzip.h"
#include "support/gunzip/gunzip_file.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {

namespace fs = std::filesystem;

std::string Gzip(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

// Text-like data that compresses, with enough noise to span many deflate blocks.
std::string SampleData(std::size_t size) {
  std::mt19937 random(7);
  std::string data;
  while (data.size() < size) data += "line " + std::to_string(random() % 1000) + (random() % 5 ? "\n" : "\t");
  data.resize(size);
  return data;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs check in a child process (to change its user or limits) and gives back its result.
bool InChild(const std::function<bool()>& check) {
  const pid_t child = fork();
  if (child == 0) _exit(check() ? 1 : 0);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) throw std::runtime_error("child");
  return WEXITSTATUS(status) == 1;
}

class GunzipFileTest : public testing::Test {
 protected:
  fs::path Source(std::string_view bytes) {
    test::WriteFile(source_, bytes);
    return source_;
  }
  // The failure left the target as it was and no temporary behind.
  void ExpectNothingChanged() {
    EXPECT_EQ(test::ReadFile(target_), "old contents");
    EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin", "file.bin.gz"}));
  }

  test::TempDir dir_;
  fs::path source_ = dir_ / "file.bin.gz";
  fs::path target_ = dir_ / "file.bin";
};

TEST_F(GunzipFileTest, ExpandsIntoAByteIdenticalTarget) {
  struct Case {
    const char* name;
    std::string source;
    std::string expanded;
  } cases[] = {
      {"gzip of an empty file", Gzip(""), ""},
      {"small file", Gzip("hello\n"), "hello\n"},
      {"more than one block", Gzip(SampleData(300000)), SampleData(300000)},
      {"two gzip members", Gzip("first ") + Gzip("second"), "first second"},
      {"not gzip: copied", "plain text, not compressed", "plain text, not compressed"},
      {"empty source: copied", "", ""},
  };
  for (const auto& c : cases) {
    test::WriteFile(target_, "old contents");
    EXPECT_TRUE(GunzipFile(Source(c.source), target_)) << c.name;
    EXPECT_EQ(test::ReadFile(target_), c.expanded) << c.name;
    EXPECT_EQ(test::ReadFile(source_), c.source) << c.name << ": source untouched";
    EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin", "file.bin.gz"})) << c.name;
  }
}

TEST_F(GunzipFileTest, CreatesAMissingTarget) {
  ASSERT_TRUE(GunzipFile(Source(Gzip("new")), target_));
  EXPECT_EQ(test::ReadFile(target_), "new");
}

TEST_F(GunzipFileTest, StreamCutShortFailsAndLeavesTheTarget) {
  const std::string gzip = Gzip(SampleData(200000));
  struct Case {
    const char* name;
    std::string source;
  } cases[] = {
      {"cut in the middle", gzip.substr(0, gzip.size() / 2)},
      {"trailer missing", gzip.substr(0, gzip.size() - 8)},
      {"second member cut short", gzip + gzip.substr(0, 20)},
  };
  for (const auto& c : cases) {
    test::WriteFile(target_, "old contents");
    EXPECT_FALSE(GunzipFile(Source(c.source), target_)) << c.name;
    ExpectNothingChanged();
  }
}

// How much of a gzip stream inflate takes to give the first `size` bytes of its expansion.
std::size_t CompressedBytesFor(const std::string& gzip, std::size_t size) {
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 16) != Z_OK) throw std::runtime_error("inflateInit2");
  std::string out(size, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
  stream.avail_in = static_cast<uInt>(gzip.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  inflate(&stream, Z_NO_FLUSH);
  const std::size_t taken = stream.total_in;
  inflateEnd(&stream);
  return taken;
}

TEST_F(GunzipFileTest, StreamCutWhereTheExpansionPassesTwoMebibytesFails) {
  // zlib's gz reader dropped the rest of a stream, without an error, when the input ran out just
  // as its 2 MiB output buffer filled: the short file was installed as complete.
  std::string data;
  while (data.size() < (3u << 20)) data += "line 17\tline 402\n";
  const std::string gzip = Gzip(data);
  const std::size_t around = CompressedBytesFor(gzip, 2u << 20);
  for (std::size_t cut = around - 16; cut <= around + 16; ++cut) {
    test::WriteFile(target_, "old contents");
    EXPECT_FALSE(GunzipFile(Source(gzip.substr(0, cut)), target_)) << "cut after " << cut << " bytes";
    ExpectNothingChanged();
  }
}

TEST_F(GunzipFileTest, DamagedDataFailsAndLeavesTheTarget) {
  const std::string header("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
  std::string wrongCheck = Gzip(SampleData(100000));
  wrongCheck[wrongCheck.size() - 8] ^= 0x01;  // first byte of the CRC-32 trailer
  std::string flipped = Gzip(SampleData(100000));
  flipped[flipped.size() / 2] ^= 0xFF;
  struct Case {
    const char* name;
    std::string source;
  } cases[] = {
      {"reserved block type", header + "\x07" + std::string(100, 'x')},
      {"wrong CRC in the trailer", wrongCheck},
      {"flipped byte in the deflate data", flipped},
  };
  for (const auto& c : cases) {
    test::WriteFile(target_, "old contents");
    EXPECT_FALSE(GunzipFile(Source(c.source), target_)) << c.name;
    ExpectNothingChanged();
  }
}

TEST_F(GunzipFileTest, MissingSourceLeavesTheTarget) {
  test::WriteFile(target_, "old contents");
  test::WriteFile(source_, "");
  fs::remove(source_);
  EXPECT_FALSE(GunzipFile(source_, target_));
  EXPECT_EQ(test::ReadFile(target_), "old contents");
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin"}));
}

TEST_F(GunzipFileTest, UnwritableTargetFailsAndLeavesIt) {
  Source(Gzip("new contents"));

  test::WriteFile(target_, "old contents");
  fs::permissions(target_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(GunzipFile(source_, target_)) << "read-only target";
  ExpectNothingChanged();
  fs::remove(target_);

  fs::create_directory(target_);
  EXPECT_FALSE(GunzipFile(source_, target_)) << "directory as target";
  EXPECT_TRUE(fs::is_directory(target_));
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin", "file.bin.gz"}));

  EXPECT_FALSE(GunzipFile(source_, dir_ / "missing" / "file.bin")) << "missing folder";
}

TEST_F(GunzipFileTest, KeepsTheTargetsPermissions) {
  test::WriteFile(target_, "old contents");
  fs::permissions(target_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  ASSERT_TRUE(GunzipFile(Source(Gzip("#!/bin/sh\n")), target_));
  EXPECT_EQ(fs::status(target_).permissions(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

TEST_F(GunzipFileTest, FolderWithoutWritePermissionFailsAndLeavesTheTarget) {
  // As root the folder's permission bits would not stop the write, so the check runs as nobody.
  const fs::path folder = dir_ / "readonly";
  const fs::path target = folder / "file.bin";
  test::WriteFile(target, "old contents");
  Source(Gzip("new contents"));
  fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(source_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                              fs::perms::others_write);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);

  EXPECT_FALSE(InChild([&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return true;
    if (access(source_.c_str(), R_OK) != 0) return true;  // the source must not be the obstacle
    return GunzipFile(source_, target);
  }));
  EXPECT_EQ(test::ReadFile(target), "old contents");
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"file.bin"}));
}

TEST_F(GunzipFileTest, FullDiskFailsAndLeavesTheTarget) {
  test::WriteFile(target_, "old contents");
  Source(Gzip(SampleData(1 << 20)));
  // A file size limit makes writes fail past 100000 bytes, as a full disk would.
  EXPECT_FALSE(InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100000, 100000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return true;
    return GunzipFile(source_, target_);
  }));
  ExpectNothingChanged();
  EXPECT_TRUE(GunzipFile(source_, target_)) << "without the limit";
}

// Expansion while the data arrives gives GunzipFile's results over the same bytes, and touches the
// target only on Commit. Inputs larger than the channel show that a failed expansion still takes
// everything it is fed.
TEST_F(GunzipFileTest, ConcurrentExpansionMatchesGunzipFile) {
  const std::string large = SampleData(3 << 20);
  const std::string gzip = Gzip(large);
  std::string flipped = gzip;
  flipped[100] ^= 0xFF;
  struct Case {
    const char* name;
    std::string source;
  } cases[] = {
      {"large gzip", gzip},
      {"two members", Gzip("first ") + Gzip("second")},
      {"not gzip", "plain text, not compressed"},
      {"empty", ""},
      {"cut short", gzip.substr(0, gzip.size() / 2)},
      {"damaged early", flipped + large},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(target_, "old contents");
    const bool expected = GunzipFile(Source(c.source), dir_ / "reference");
    const std::string reference = expected ? test::ReadFile(dir_ / "reference") : "";
    fs::remove(dir_ / "reference");

    {
      ConcurrentGunzip expansion(target_);
      ASSERT_TRUE(expansion.Started());
      for (std::size_t at = 0; at < c.source.size(); at += 16384) {
        expansion.Feed(c.source.data() + at, std::min<std::size_t>(16384, c.source.size() - at));
      }
      EXPECT_EQ(expansion.Finish(), expected);
      EXPECT_EQ(test::ReadFile(target_), "old contents") << "nothing reaches the target before Commit";
      EXPECT_EQ(expansion.Commit(), expected);
    }
    EXPECT_EQ(test::ReadFile(target_), expected ? reference : "old contents");
    EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin", "file.bin.gz"}));
  }
}

TEST_F(GunzipFileTest, ConcurrentExpansionLeftUncommittedLeavesTheTarget) {
  const std::string gzip = Gzip(SampleData(1 << 20));
  test::WriteFile(target_, "old contents");
  {
    ConcurrentGunzip finished(target_);
    finished.Feed(gzip.data(), gzip.size());
    EXPECT_TRUE(finished.Finish());
  }
  {
    ConcurrentGunzip abandoned(target_);  // a transfer that failed midway
    abandoned.Feed(gzip.data(), gzip.size() / 2);
  }
  EXPECT_EQ(test::ReadFile(target_), "old contents");
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"file.bin"}));

  fs::permissions(target_, fs::perms::owner_read);
  ConcurrentGunzip readOnly(target_);
  readOnly.Feed(gzip.data(), gzip.size());
  EXPECT_FALSE(readOnly.Finish());
  EXPECT_FALSE(readOnly.Commit());
  EXPECT_EQ(test::ReadFile(target_), "old contents");
}

}  // namespace
}  // namespace vexmor
