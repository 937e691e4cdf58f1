#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexmor {

// CRC-32 of zlib and PNG. Start with 0 and pass each result into the next call to cover data
// given in blocks.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);

// The CRC as 8 upper-case hexadecimal digits with leading zeros, the form the checksum list
// is compared in.
std::string Crc32Hex(std::uint32_t crc);

}  // namespace vexmor
