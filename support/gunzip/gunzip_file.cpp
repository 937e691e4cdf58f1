#include "support/gunzip/gunzip_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include <zlib.h>

#include "platform/system/atomic_file.h"

namespace vexmor {
namespace {

constexpr std::size_t kInputBufferSize = 1 << 20;
constexpr std::size_t kBlockSize = 65536;

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A gzip inflater (windowBits 15 + 16: gzip header and trailer, the trailer's CRC checked).
class GzipInflater {
 public:
  GzipInflater() { ready_ = inflateInit2(&stream_, 15 + 16) == Z_OK; }
  ~GzipInflater() {
    if (ready_) inflateEnd(&stream_);
  }
  GzipInflater(const GzipInflater&) = delete;
  GzipInflater& operator=(const GzipInflater&) = delete;

  bool ready() const { return ready_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

bool StartsLikeGzip(const unsigned char* bytes, std::size_t size) {
  return size >= 2 && bytes[0] == 0x1f && bytes[1] == 0x8b;
}

}  // namespace

// inflate itself rather than zlib's gz reader: the gz reader drops the end of a stream cut short
// without any error when its output buffer happens to fill as the input runs out, which would
// install a short file as complete.
bool GunzipFile(const std::filesystem::path& source, const std::filesystem::path& target) {
  const std::unique_ptr<std::FILE, FileClose> input(std::fopen(source.c_str(), "rbe"));
  if (!input) return false;
  platform::AtomicFileWriter output(target);
  if (!output.IsOpen()) return false;

  const auto in = std::make_unique<unsigned char[]>(kInputBufferSize);
  const auto out = std::make_unique<unsigned char[]>(kBlockSize);
  std::size_t have = std::fread(in.get(), 1, kInputBufferSize, input.get());
  if (std::ferror(input.get())) return false;

  if (!StartsLikeGzip(in.get(), have)) {
    // Not gzip: copied as it is.
    while (have > 0) {
      if (!output.Write(in.get(), have)) return false;
      have = std::fread(in.get(), 1, kInputBufferSize, input.get());
    }
    return !std::ferror(input.get()) && output.Commit();
  }

  GzipInflater inflater;
  if (!inflater.ready()) return false;
  z_stream& stream = inflater.stream();
  stream.next_in = in.get();
  stream.avail_in = static_cast<uInt>(have);
  for (;;) {
    if (stream.avail_in == 0) {
      have = std::fread(in.get(), 1, kInputBufferSize, input.get());
      if (have == 0) return false;  // cut short (or unreadable) before the member's end
      stream.next_in = in.get();
      stream.avail_in = static_cast<uInt>(have);
    }
    stream.next_out = out.get();
    stream.avail_out = kBlockSize;
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) return false;  // damaged data
    if (!output.Write(out.get(), kBlockSize - stream.avail_out)) return false;
    if (status != Z_STREAM_END) continue;

    // Another member may follow; anything else after a member is ignored, as gzip tools do.
    std::memmove(in.get(), stream.next_in, stream.avail_in);
    have = stream.avail_in;
    if (have < 2) have += std::fread(in.get() + have, 1, kInputBufferSize - have, input.get());
    if (std::ferror(input.get())) return false;
    if (!StartsLikeGzip(in.get(), have)) return output.Commit();
    inflateReset(&stream);
    stream.next_in = in.get();
    stream.avail_in = static_cast<uInt>(have);
  }
}

}  // namespace vexmor
