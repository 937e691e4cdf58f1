#include "support/digest/crc32_file.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <memory>
#include <system_error>

#include <unistd.h>
#include <zlib.h>

#include "support/digest/crc32.h"

namespace vexmor {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::int64_t kToEnd = -1;

struct RangeCrc {
  std::uint32_t crc = 0;
  std::int64_t length = 0;  // bytes read
};

// CRC of the bytes from `begin` up to `end`, or with kToEnd up to the end of the file, which is
// expected at expectedEnd but may lie further.
std::optional<RangeCrc> Crc32OfRange(int fd, std::int64_t begin, std::int64_t end, std::int64_t expectedEnd,
                                     const std::function<void(std::int64_t)>& onBlock) {
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlockSize);
  RangeCrc range;
  for (std::int64_t offset = begin; end == kToEnd || offset < end;) {
    const auto want =
        end == kToEnd ? kBlockSize : static_cast<std::size_t>(std::min<std::int64_t>(kBlockSize, end - offset));
    const ssize_t count = ::pread(fd, buffer.get(), want, offset);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) break;  // the file shrank meanwhile: the CRC covers what is there
    range.crc = Crc32(range.crc, buffer.get(), static_cast<std::size_t>(count));
    range.length += count;
    offset += count;
    onBlock(count);
    // A regular file reads short only at its end: past the expected size, that spares the read
    // that would deliver nothing, one system call per small file.
    if (end == kToEnd && static_cast<std::size_t>(count) < want && offset >= expectedEnd) break;
  }
  return range;
}

}  // namespace

std::optional<std::uint32_t> Crc32OfFile(int fd, std::int64_t size, const std::function<void(std::int64_t)>& onBlock) {
  if (size < kCrc32SplitBytes) {
    const auto whole = Crc32OfRange(fd, 0, kToEnd, size, onBlock);
    return whole ? std::optional(whole->crc) : std::nullopt;
  }

  // The two halves are read at once: reading, not the CRC, bounds a check of files in the page
  // cache, and one thread copies at well below the memory's bandwidth.
  const std::int64_t half = size / 2 / kBlockSize * kBlockSize;
  std::future<std::optional<RangeCrc>> first;
  try {
    first = std::async(std::launch::async, [&] { return Crc32OfRange(fd, 0, half, half, onBlock); });
  } catch (const std::system_error&) {  // no thread to be had: one reader does it all
    const auto whole = Crc32OfRange(fd, 0, kToEnd, size, onBlock);
    return whole ? std::optional(whole->crc) : std::nullopt;
  }
  const auto second = Crc32OfRange(fd, half, kToEnd, size, onBlock);
  const auto firstCrc = first.get();
  if (!firstCrc || !second) return std::nullopt;
  return static_cast<std::uint32_t>(crc32_combine64(firstCrc->crc, second->crc, second->length));
}

}  // namespace vexmor
