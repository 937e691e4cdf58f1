// Gzip expansion of arbitrary bytes, file to file. Besides not crashing or looping:
// - true: the target holds exactly the bytes zlib delivers for the source, read on its own;
//   input that does not start like gzip is copied unchanged;
// - false: the target still holds what it held before;
// - either way the source is unchanged and no temporary file is left beside the target.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include <zlib.h>

#include "support/gunzip/gunzip_file.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_folder.h"

namespace {

constexpr std::string_view kPrevious = "the file as it was before the expansion\n";

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream output(file, std::ios::binary);
  output.write(bytes.data(), std::streamsize(bytes.size()));
  FUZZ_CHECK(output.good());
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream input(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

struct GzClose {
  void operator()(gzFile file) const { gzclose(file); }
};

// What zlib delivers for the file, read in small pieces; false when zlib reports an error.
bool ExpandWithZlib(const std::filesystem::path& file, std::string& out) {
  const std::unique_ptr<gzFile_s, GzClose> input(gzopen(file.c_str(), "rb"));
  FUZZ_CHECK(input != nullptr);
  char buffer[4096];
  for (;;) {
    const int count = gzread(input.get(), buffer, sizeof buffer);
    if (count < 0) return false;
    if (count == 0) return true;
    out.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vexmor::fuzz::ClearScratchFolder();
  const std::filesystem::path source = vexmor::fuzz::ScratchFolder() / "file.bin.gz";
  const std::filesystem::path target = vexmor::fuzz::ScratchFolder() / "file.bin";
  WriteFile(source, bytes);
  WriteFile(target, kPrevious);

  const bool expanded = vexmor::GunzipFile(source, target);

  FUZZ_CHECK(ReadFile(source) == bytes);
  FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(vexmor::fuzz::ScratchFolder()),
                           std::filesystem::directory_iterator()) == 2);
  std::string expected;
  const bool zlibExpanded = ExpandWithZlib(source, expected);
  FUZZ_CHECK(expanded == zlibExpanded);
  if (expanded) {
    FUZZ_CHECK(ReadFile(target) == expected);
    const bool looksLikeGzip = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
    if (!looksLikeGzip) FUZZ_CHECK(expected == bytes);
  } else {
    FUZZ_CHECK(ReadFile(target) == kPrevious);
  }
  return 0;
}
