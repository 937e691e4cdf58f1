#pragma once

#include <cstdint>
#include <filesystem>

namespace vexmor::publish {

// What a gzip file expands to.
struct GzipContent {
  bool complete = false;  // one whole gzip member, its own CRC checked, nothing after it
  std::int64_t size = 0;
  std::uint32_t crc = 0;
};

GzipContent InspectGzip(const std::filesystem::path& gz);

// Whether gz was written by this publisher (its fixed header) and expands to exactly the bytes of
// source; then crc and size describe them. Lets a rebuild keep a compressed file whose source did
// not change, whatever happened to the source's time stamps.
bool GzipHoldsFile(const std::filesystem::path& gz, const std::filesystem::path& source, std::uint32_t& crc,
                   std::int64_t& size);

}  // namespace vexmor::publish
