#include "tools/publish/gzip_chunks.h"

#include <zlib.h>

#include <memory>
#include <stdexcept>

namespace vexmor::publish {
namespace {

constexpr int kLevel = Z_BEST_COMPRESSION;
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemoryLevel = 8;

struct DeflateEnd {
  void operator()(z_stream* stream) const { deflateEnd(stream); }
};

void AppendLittleEndian32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string_view GzipHeader() {
  // Magic, deflate, no flags, time stamp 0, "maximum compression", operating system Unix.
  static constexpr char kHeader[] = {'\x1f', '\x8b', '\x08', '\x00', '\x00',
                                     '\x00', '\x00', '\x00', '\x02', '\x03'};
  return {kHeader, sizeof kHeader};
}

std::string DeflateChunk(std::string_view input, std::string_view dictionary, bool last) {
  z_stream stream{};
  if (deflateInit2(&stream, kLevel, Z_DEFLATED, kRawDeflateWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("the compressor cannot start");
  }
  const std::unique_ptr<z_stream, DeflateEnd> owner(&stream);
  if (!dictionary.empty() && deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(dictionary.data()),
                                                  static_cast<uInt>(dictionary.size())) != Z_OK) {
    throw std::runtime_error("the compressor rejects its dictionary");
  }
  // The bound covers the flush markers of a sync flush too.
  std::string out(deflateBound(&stream, static_cast<uLong>(input.size())) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
  // A flush is complete only when it left room in the output.
  if (stream.avail_in != 0 || stream.avail_out == 0 || (last ? result != Z_STREAM_END : result != Z_OK)) {
    throw std::runtime_error("the compressor failed");
  }
  out.resize(out.size() - stream.avail_out);
  return out;
}

std::string GzipTrailer(std::uint32_t crc, std::uint64_t size) {
  std::string out;
  AppendLittleEndian32(out, crc);
  AppendLittleEndian32(out, static_cast<std::uint32_t>(size));
  return out;
}

}  // namespace vexmor::publish
