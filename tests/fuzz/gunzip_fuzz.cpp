// Gzip expansion of arbitrary bytes, file to file. Besides not crashing or looping:
// - the result is true exactly when the data is complete (damaged and cut short are false);
// - true: the target holds exactly the expanded data, worked out with inflate on its own; input
//   that does not start like gzip is copied unchanged;
// - false: the target still holds what it held before;
// - either way the source is unchanged and no temporary file is left beside the target.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
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

enum class Expansion { Complete, Truncated, Damaged };

bool StartsLikeGzip(std::string_view bytes) { return bytes.size() >= 2 && bytes[0] == '\x1f' && bytes[1] == '\x8b'; }

// The data of the file expanded with inflate itself, independently of the gz file functions:
// gzip members one after another while the rest starts like one (anything else after a member is
// ignored), input that does not start like gzip taken as it is.
Expansion Inflate(std::string_view bytes, std::string& out) {
  if (!StartsLikeGzip(bytes)) {
    out = bytes;
    return Expansion::Complete;
  }
  char buffer[16384];
  do {
    z_stream stream{};
    FUZZ_CHECK(inflateInit2(&stream, 15 + 16) == Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    int status = Z_OK;
    while (status == Z_OK) {
      stream.next_out = reinterpret_cast<Bytef*>(buffer);
      stream.avail_out = sizeof buffer;
      status = inflate(&stream, Z_NO_FLUSH);
      out.append(buffer, sizeof buffer - stream.avail_out);
    }
    bytes.remove_prefix(bytes.size() - stream.avail_in);
    inflateEnd(&stream);
    if (status == Z_BUF_ERROR && bytes.empty()) return Expansion::Truncated;
    if (status != Z_STREAM_END) return Expansion::Damaged;
  } while (StartsLikeGzip(bytes));
  return Expansion::Complete;
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
  const Expansion expansion = Inflate(bytes, expected);
  FUZZ_CHECK(expanded == (expansion == Expansion::Complete));
  if (expanded) {
    FUZZ_CHECK(ReadFile(target) == expected);
  } else {
    FUZZ_CHECK(ReadFile(target) == kPrevious);
  }
  return 0;
}
