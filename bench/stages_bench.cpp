// The engine's pure stages on data in memory or in the page cache: CRC-32 of a buffer, SHA-256 and
// gzip expansion of a file, reading a checksum list of 100,000 lines, reading a release document.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include <stdlib.h>
#include <zlib.h>

#include "support/digest/crc32.h"
#include "support/digest/sha256_file.h"
#include "support/gunzip/gunzip_file.h"
#include "support/ini/ini_document.h"
#include "support/patchinfo/patch_list.h"

namespace vexmor {
namespace {

constexpr std::size_t kFileBytes = std::size_t{64} << 20;

// Bytes that compress about 2.7 : 1, like game data: random symbols from an alphabet of eight.
std::string GameLikeBytes(std::size_t size) {
  std::mt19937_64 random(153);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; i += 21) {
    std::uint64_t word = random();
    for (std::size_t j = i; j < std::min(i + 21, size); ++j, word >>= 3) bytes[j] = static_cast<char>('a' + (word & 7));
  }
  return bytes;
}

std::filesystem::path MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexmor-bench-stages-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern;
}

// A game-like file and its gzip copy, made once for the benchmarks that read files.
struct Files {
  Files() : folder(MakeTempFolder()) {
    const std::string bytes = GameLikeBytes(kFileBytes);
    std::ofstream(plain, std::ios::binary) << bytes;
    const std::unique_ptr<gzFile_s, int (*)(gzFile)> gz(gzopen(compressed.c_str(), "wb6"), gzclose);
    if (!gz || gzwrite(gz.get(), bytes.data(), static_cast<unsigned>(bytes.size())) != static_cast<int>(bytes.size()))
      throw std::runtime_error("cannot write the gzip file");
  }
  ~Files() { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  std::filesystem::path plain = folder / "data.pak";
  std::filesystem::path compressed = folder / "data.pak.gz";
  std::filesystem::path expanded = folder / "expanded.pak";
};

Files& SharedFiles() {
  static Files files;
  return files;
}

void BM_Crc32(benchmark::State& state) {
  const std::string bytes = GameLikeBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Crc32(0, bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc32)->Arg(64 << 10)->Arg(16 << 20);

void BM_Sha256FileHex(benchmark::State& state) {
  const Files& files = SharedFiles();
  for (auto _ : state) {
    if (Sha256FileHex(files.plain).size() != 64) state.SkipWithError("no digest");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileBytes));
}
BENCHMARK(BM_Sha256FileHex)->Unit(benchmark::kMillisecond)->UseRealTime();

// Throughput counts the expanded bytes, as the user sees the file grow.
void BM_GunzipFile(benchmark::State& state) {
  const Files& files = SharedFiles();
  for (auto _ : state) {
    if (!GunzipFile(files.compressed, files.expanded)) state.SkipWithError("expansion failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileBytes));
}
BENCHMARK(BM_GunzipFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPatchList(benchmark::State& state) {
  std::ostringstream list;
  for (int i = 0; i < 100000; ++i) {
    list << "Vexmor/Data/folder" << i % 97 << "/file" << i << ".dat\t" << 1000 + i << '\t' << 400 + i
         << "\t0A1B2C3D\t9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08\n";
  }
  const std::string text = list.str();
  for (auto _ : state) {
    std::vector<PatchEntry> entries;
    std::int64_t total = 0;
    ReadPatchList(text, entries, total, nullptr);
    if (entries.size() != 100000) state.SkipWithError("records lost");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadPatchList)->Unit(benchmark::kMillisecond);

// A release document as the launcher reads one per update attempt, with a nested section.
void BM_IniParse(benchmark::State& state) {
  const std::string document =
      "; release\ngame_version = 42\nlauncher_version = 153\n"
      "launcher_checksum = 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08\n"
      "website_link = https://vexmor.example\nforum_link = https://forum.vexmor.example\n"
      "announce_version = 3\nannounce_link = https://vexmor.example/news/3\n"
      "[release]\nnotes = first\n[[mirror]]\naddress = https://mirror.example\n";
  for (auto _ : state) {
    std::istringstream input(document);
    IniDocument ini;
    ini.Parse(input);
    benchmark::DoNotOptimize(ini.root.values.size());
  }
}
BENCHMARK(BM_IniParse);

}  // namespace
}  // namespace vexmor
