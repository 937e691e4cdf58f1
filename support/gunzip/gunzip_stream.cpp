#include "support/gunzip/gunzip_stream.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <unistd.h>
#include <zlib.h>

namespace vexmor {
namespace {

constexpr std::size_t kBlockSize = 65536;

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

// Reads until size bytes are there or the input has ended, as fread does; -1 on a read error.
ssize_t ReadUpTo(int input, unsigned char* buffer, std::size_t size) {
  std::size_t have = 0;
  while (have < size) {
    const ssize_t count = ::read(input, buffer + have, size - have);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return -1;
    if (count == 0) break;
    have += static_cast<std::size_t>(count);
  }
  return static_cast<ssize_t>(have);
}

}  // namespace

// inflate itself rather than zlib's gz reader: the gz reader drops the end of a stream cut short
// without any error when its output buffer happens to fill as the input runs out, which would
// install a short file as complete.
bool ExpandInto(int input, std::size_t inputBufferBytes, platform::AtomicFileWriter& output) {
  if (!output.IsOpen()) return false;
  const auto in = std::make_unique_for_overwrite<unsigned char[]>(inputBufferBytes);
  const auto out = std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
  ssize_t have = ReadUpTo(input, in.get(), inputBufferBytes);
  if (have < 0) return false;

  if (!StartsLikeGzip(in.get(), static_cast<std::size_t>(have))) {
    // Not gzip: copied as it is.
    while (have > 0) {
      if (!output.Write(in.get(), static_cast<std::size_t>(have))) return false;
      have = ReadUpTo(input, in.get(), inputBufferBytes);
    }
    return have == 0;
  }

  GzipInflater inflater;
  if (!inflater.ready()) return false;
  z_stream& stream = inflater.stream();
  stream.next_in = in.get();
  stream.avail_in = static_cast<uInt>(have);
  for (;;) {
    if (stream.avail_in == 0) {
      have = ReadUpTo(input, in.get(), inputBufferBytes);
      if (have <= 0) return false;  // cut short (or unreadable) before the member's end
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
    if (have < 2) {
      const ssize_t more = ReadUpTo(input, in.get() + have, inputBufferBytes - static_cast<std::size_t>(have));
      if (more < 0) return false;
      have += more;
    }
    if (!StartsLikeGzip(in.get(), static_cast<std::size_t>(have))) return true;
    inflateReset(&stream);
    stream.next_in = in.get();
    stream.avail_in = static_cast<uInt>(have);
  }
}

}  // namespace vexmor
