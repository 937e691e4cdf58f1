#include <gtest/gtest.h>

#include <zlib.h>

#include <atomic>
#include <random>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "support/digest/crc32.h"
#include "support/digest/crc32_file.h"
#include "support/digest/sha256_file.h"
#include "support/digest/sha256_stream.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {

TEST(Sha256FileHex, KnownDigestsAcrossBlockBoundaries) {
  struct Case {
    const char* name;
    std::string contents;
    const char* digest;
  } cases[] = {
      {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"one block less one", std::string(65535, 'a'),
       "6e1bebca6a8229364a162a72ef064826c4cd7457bf54f190ef782bd9deff3e42"},
      {"exactly one block", std::string(65536, 'a'),
       "bf718b6f653bebc184e1479f1935b8da974d701b893afcf49e701f3e2f9f9c5a"},
      {"one block and one byte", std::string(65537, 'a'),
       "008ffc88d3c96a9f307524eb361e47c5222a887fc45fa0c1fb8d429c5c23b430"},
      {"a million a", std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    const auto file = dir / c.name;
    test::WriteFile(file, c.contents);
    EXPECT_EQ(Sha256FileHex(file), c.digest) << c.name;
  }
}

TEST(Sha256FileHex, EmptyWhenNoReadableFile) {
  test::TempDir dir;
  EXPECT_EQ(Sha256FileHex(dir / "missing"), "");
  EXPECT_EQ(Sha256FileHex(dir.path()), "");
  EXPECT_EQ(Sha256FileHex(""), "");
}

TEST(Sha256Stream, PiecesGiveTheDigestOfTheWholeOnce) {
  const std::string million(1000000, 'a');
  Sha256Stream stream;
  for (std::size_t at = 0; at < million.size(); at += 16384) {
    stream.Update(million.data() + at, std::min<std::size_t>(16384, million.size() - at));
  }
  EXPECT_EQ(stream.FinishHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_EQ(stream.FinishHex(), "");  // finished: no digest of nothing poses as a result
  EXPECT_EQ(Sha256Stream().FinishHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

// Sizes around the split into two readers and around block edges; odd sizes make uneven halves.
TEST(Crc32OfFile, WholeContentsAndEveryByteCountedOnce) {
  std::mt19937 random(7);
  test::TempDir dir;
  for (const std::int64_t size : {std::int64_t{0}, std::int64_t{65536}, std::int64_t{65537},
                                  kCrc32SplitBytes - 1, kCrc32SplitBytes, 3 * kCrc32SplitBytes + 12345}) {
    SCOPED_TRACE(size);
    std::string data(static_cast<std::size_t>(size), '\0');
    for (auto& byte : data) byte = static_cast<char>(random());
    test::WriteFile(dir / "file", data);
    const int fd = ::open((dir / "file").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::atomic<std::int64_t> counted{0};
    const auto crc = Crc32OfFile(fd, size, [&](std::int64_t length) {
      EXPECT_LE(length, 65536);
      counted += length;
    });
    ::close(fd);
    ASSERT_TRUE(crc.has_value());
    EXPECT_EQ(*crc, crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    EXPECT_EQ(counted.load(), size);
  }
}

TEST(Crc32OfFile, AFileThatGrewIsReadToItsEnd) {
  test::TempDir dir;
  const std::string data(kCrc32SplitBytes + 100000, 'x');
  test::WriteFile(dir / "file", data);
  const int fd = ::open((dir / "file").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  const auto crc = Crc32OfFile(fd, kCrc32SplitBytes, [](std::int64_t) {});  // the size taken before it grew
  ::close(fd);
  EXPECT_EQ(crc, crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

TEST(Crc32OfFile, EmptyWhenTheFileCannotBeRead) {
  test::TempDir dir;
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_FALSE(Crc32OfFile(fd, 0, [](std::int64_t) {}).has_value());
  EXPECT_FALSE(Crc32OfFile(fd, kCrc32SplitBytes, [](std::int64_t) {}).has_value());
  ::close(fd);
}

TEST(Crc32, KnownValues) {
  struct Case {
    std::string data;
    std::uint32_t crc;
  } cases[] = {
      {"", 0x00000000},
      {"a", 0xE8B7BE43},
      {"123456789", 0xCBF43926},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339},
      {std::string(1, '\0'), 0xD202EF8D},
  };
  for (const auto& c : cases) EXPECT_EQ(Crc32(0, c.data.data(), c.data.size()), c.crc) << '"' << c.data << '"';
}

TEST(Crc32, ChainedBlocksGiveTheCrcOfTheWhole) {
  std::mt19937 random(42);
  std::string data(300000, '\0');
  for (auto& byte : data) byte = static_cast<char>(random());
  const std::uint32_t whole = Crc32(0, data.data(), data.size());
  // zlib is an independent reference for a large input.
  EXPECT_EQ(whole, crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  for (std::size_t split : {std::size_t{0}, std::size_t{1}, std::size_t{15}, std::size_t{65536}, data.size()}) {
    const std::uint32_t first = Crc32(0, data.data(), split);
    EXPECT_EQ(Crc32(first, data.data() + split, data.size() - split), whole) << split;
  }
  std::uint32_t blocks = 0;
  for (std::size_t at = 0; at < data.size(); at += 65536) {
    blocks = Crc32(blocks, data.data() + at, std::min<std::size_t>(65536, data.size() - at));
  }
  EXPECT_EQ(blocks, whole);
}

TEST(Crc32Hex, EightUpperCaseDigits) {
  EXPECT_EQ(Crc32Hex(0), "00000000");
  EXPECT_EQ(Crc32Hex(0xA), "0000000A");
  EXPECT_EQ(Crc32Hex(0xCBF43926), "CBF43926");
  EXPECT_EQ(Crc32Hex(0xFFFFFFFF), "FFFFFFFF");
}

}  // namespace
}  // namespace vexmor
