#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexmor::publish {

// A file is compressed in chunks of this size, each on its own thread; the pieces join into one
// deflate stream. The output depends only on the input, never on the number of threads.
inline constexpr std::size_t kChunkBytes = 512 * 1024;
// Each chunk is compressed with the end of the previous chunk as its dictionary, so splitting
// costs almost nothing in size.
inline constexpr std::size_t kDictionaryBytes = 32 * 1024;

// The fixed gzip header: no file name and no time stamp, so equal input gives equal files.
std::string_view GzipHeader();

// Raw deflate of one chunk. Every chunk but the last ends on a byte boundary without ending the
// stream, so the chunks of a file concatenate into one stream; the last one ends it.
std::string DeflateChunk(std::string_view input, std::string_view dictionary, bool last);

// The gzip trailer: CRC-32 and size modulo 2^32 of the uncompressed data, little-endian.
std::string GzipTrailer(std::uint32_t crc, std::uint64_t size);

}  // namespace vexmor::publish
