#include "tools/publish/compressor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "support/gunzip/gunzip_file.h"
#include "tests/testlib/temp_dir.h"
#include "tools/publish/gzip_chunks.h"
#include "tools/publish/gzip_inspect.h"

namespace vexmor::publish {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Compressible bytes with a fixed seed: words from a small vocabulary.
std::string SampleData(std::size_t size, unsigned seed) {
  static const char* kWords[] = {"grass ", "rock ", "sand ", "tile ", "height=", "12 ", "7\n"};
  std::mt19937 random(seed);
  std::string out;
  while (out.size() < size) out += kWords[random() % std::size(kWords)];
  out.resize(size);
  return out;
}

// Expands a whole gzip file with zlib's own reader.
std::string Gunzip(const std::string& gz) {
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, 16 + 15), Z_OK);
  std::string out;
  char block[65536];
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gz.data()));
  stream.avail_in = static_cast<uInt>(gz.size());
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(block);
    stream.avail_out = sizeof block;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(block, sizeof block - stream.avail_out);
  }
  EXPECT_EQ(result, Z_STREAM_END);
  EXPECT_EQ(stream.avail_in, 0u);
  inflateEnd(&stream);
  return out;
}

class PublishCompressorTest : public testing::Test {
 protected:
  // Compresses the sources into folder; returns the results.
  std::vector<CompressedFile> Compress(const std::vector<fs::path>& sources, const fs::path& folder) {
    std::vector<CompressTask> tasks;
    for (const fs::path& source : sources)
      tasks.push_back({source, folder / (source.filename().string() + ".gz")});
    std::vector<CompressedFile> results;
    ProgressMeter progress("test", 0);
    EXPECT_EQ(CompressFiles(tasks, pool_, progress, results), "");
    return results;
  }

  WorkerPool pool_;
  TempDir dir_;
};

TEST_F(PublishCompressorTest, ChunkedFilesExpandToTheirSourceWithCrcAndSize) {
  const std::size_t sizes[] = {0, 1, kChunkBytes - 1, kChunkBytes, kChunkBytes + 1, 3 * kChunkBytes + 17};
  std::vector<fs::path> sources;
  for (std::size_t size : sizes) {
    sources.push_back(dir_ / ("source/" + std::to_string(size)));
    WriteFile(sources.back(), SampleData(size, static_cast<unsigned>(size)));
  }
  const std::vector<CompressedFile> results = Compress(sources, dir_ / "out/nested");
  ASSERT_EQ(results.size(), sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const std::string data = ReadFile(sources[i]);
    const std::string gz = ReadFile(dir_ / "out/nested" / (sources[i].filename().string() + ".gz"));
    EXPECT_EQ(gz.substr(0, 10), GzipHeader()) << "no name, no time stamp";
    EXPECT_EQ(Gunzip(gz), data) << sizes[i];
    // The launcher's own expansion gives the same bytes.
    const fs::path expanded = dir_ / "expanded";
    ASSERT_TRUE(GunzipFile(dir_ / "out/nested" / (sources[i].filename().string() + ".gz"), expanded));
    EXPECT_EQ(ReadFile(expanded), data) << sizes[i];
    EXPECT_EQ(results[i].size, static_cast<std::int64_t>(data.size()));
    EXPECT_EQ(results[i].crc,
              crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  }
}

TEST_F(PublishCompressorTest, SplittingIntoChunksCostsAlmostNothing) {
  const std::string data = SampleData(8 * kChunkBytes, 5);
  WriteFile(dir_ / "big", data);
  Compress({dir_ / "big"}, dir_ / "out");
  uLongf whole = compressBound(static_cast<uLong>(data.size()));
  std::string single(whole, '\0');
  ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(single.data()), &whole,
                      reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 9),
            Z_OK);
  const auto chunked = fs::file_size(dir_ / "out/big.gz");
  EXPECT_LT(static_cast<double>(chunked), static_cast<double>(whole) * 1.01);
}

TEST_F(PublishCompressorTest, SameInputGivesTheSameBytes) {
  WriteFile(dir_ / "a", SampleData(2 * kChunkBytes + 5, 9));
  Compress({dir_ / "a"}, dir_ / "one");
  Compress({dir_ / "a"}, dir_ / "two");
  EXPECT_EQ(ReadFile(dir_ / "one/a.gz"), ReadFile(dir_ / "two/a.gz"));
}

TEST_F(PublishCompressorTest, RecognisesItsOwnCopyOfAnUnchangedSource) {
  const std::string data = SampleData(kChunkBytes + 100, 3);
  WriteFile(dir_ / "src", data);
  const CompressedFile written = Compress({dir_ / "src"}, dir_ / "out").front();
  const fs::path gz = dir_ / "out/src.gz";
  std::uint32_t crc = 0;
  std::int64_t size = 0;
  ASSERT_TRUE(GzipHoldsFile(gz, dir_ / "src", crc, size));
  EXPECT_EQ(crc, written.crc);
  EXPECT_EQ(size, written.size);

  std::string changed = data;
  changed[kChunkBytes + 50] ^= 1;
  WriteFile(dir_ / "changed", changed);
  WriteFile(dir_ / "longer", data + "x");
  WriteFile(dir_ / "shorter", data.substr(0, data.size() - 1));
  for (const char* other : {"changed", "longer", "shorter"}) {
    EXPECT_FALSE(GzipHoldsFile(gz, dir_ / other, crc, size)) << other;
  }
}

TEST_F(PublishCompressorTest, InspectionFindsDamagedFiles) {
  WriteFile(dir_ / "src", SampleData(100000, 4));
  const CompressedFile written = Compress({dir_ / "src"}, dir_ / "out").front();
  const std::string gz = ReadFile(dir_ / "out/src.gz");
  const GzipContent whole = InspectGzip(dir_ / "out/src.gz");
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.size, written.size);
  EXPECT_EQ(whole.crc, written.crc);

  std::string flipped = gz;
  flipped[gz.size() / 2] ^= 0x10;
  const std::pair<const char*, std::string> damaged[] = {
      {"truncated", gz.substr(0, gz.size() - 1)},
      {"trailing bytes", gz + "x"},
      {"flipped bit", flipped},
      {"empty", ""},
  };
  for (const auto& [name, bytes] : damaged) {
    WriteFile(dir_ / "damaged.gz", bytes);
    EXPECT_FALSE(InspectGzip(dir_ / "damaged.gz").complete) << name;
  }
}

}  // namespace
}  // namespace vexmor::publish
