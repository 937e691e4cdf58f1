#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace vexmor {

// Files at least this large are read by two threads, each over one half.
inline constexpr std::int64_t kCrc32SplitBytes = std::int64_t{4} << 20;

// CRC-32 (as Crc32) of the contents of an open regular file of `size` bytes, read from its start
// to its end in 64 KiB blocks; bytes beyond `size` that appear meanwhile are included. onBlock is
// told the length of every block read, from the calling thread or, for a large file, from the
// second reader too (so it must be safe to call concurrently). Empty when a read fails.
std::optional<std::uint32_t> Crc32OfFile(int fd, std::int64_t size, const std::function<void(std::int64_t)>& onBlock);

}  // namespace vexmor
