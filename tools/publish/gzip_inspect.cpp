#include "tools/publish/gzip_inspect.h"

#include <zlib.h>

#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include "support/digest/crc32.h"
#include "tools/publish/file_io.h"
#include "tools/publish/gzip_chunks.h"

namespace vexmor::publish {
namespace {

constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr int kGzipWindowBits = 16 + 15;

struct InflateEnd {
  void operator()(z_stream* stream) const { inflateEnd(stream); }
};

// Expands one gzip member, handing each block of output to onBlock, which may stop the expansion
// by returning false. True when the member was complete, its CRC held and nothing followed it.
bool ExpandGzip(std::FILE* gz, const std::function<bool(std::string_view)>& onBlock) {
  z_stream stream{};
  if (inflateInit2(&stream, kGzipWindowBits) != Z_OK) return false;
  const std::unique_ptr<z_stream, InflateEnd> owner(&stream);
  std::vector<char> in(kBlockBytes);
  std::vector<char> out(kBlockBytes);
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    if (stream.avail_in == 0) {
      stream.avail_in = static_cast<uInt>(std::fread(in.data(), 1, in.size(), gz));
      stream.next_in = reinterpret_cast<Bytef*>(in.data());
      if (stream.avail_in == 0) return false;  // truncated or unreadable
    }
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) return false;
    if (!onBlock({out.data(), out.size() - stream.avail_out})) return false;
  }
  return stream.avail_in == 0 && std::fgetc(gz) == EOF && !std::ferror(gz);
}

}  // namespace

GzipContent InspectGzip(const std::filesystem::path& gz) {
  GzipContent content;
  const FileHandle file = OpenFile(gz, "rb");
  if (!file) return content;
  content.complete = ExpandGzip(file.get(), [&](std::string_view block) {
    content.crc = Crc32(content.crc, block.data(), block.size());
    content.size += static_cast<std::int64_t>(block.size());
    return true;
  });
  return content;
}

bool GzipHoldsFile(const std::filesystem::path& gz, const std::filesystem::path& source, std::uint32_t& crc,
                   std::int64_t& size) {
  const FileHandle packed = OpenFile(gz, "rb");
  const FileHandle original = OpenFile(source, "rb");
  if (!packed || !original) return false;
  const std::string_view header = GzipHeader();
  std::vector<char> start(header.size());
  if (std::fread(start.data(), 1, start.size(), packed.get()) != start.size() ||
      std::string_view(start.data(), start.size()) != header) {
    return false;
  }
  std::rewind(packed.get());
  std::vector<char> expected(kBlockBytes);
  crc = 0;
  size = 0;
  const bool same = ExpandGzip(packed.get(), [&](std::string_view block) {
    if (std::fread(expected.data(), 1, block.size(), original.get()) != block.size() ||
        std::memcmp(expected.data(), block.data(), block.size()) != 0) {
      return false;
    }
    crc = Crc32(crc, block.data(), block.size());
    size += static_cast<std::int64_t>(block.size());
    return true;
  });
  return same && std::fgetc(original.get()) == EOF && !std::ferror(original.get());
}

}  // namespace vexmor::publish
