#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vexmor::publish {

// Sizes in the checksum list are signed 32-bit numbers.
inline constexpr std::int64_t kLargestListedSize = 0x7FFFFFFF;

// One file below the game root.
struct SourceFile {
  std::string listedPath;          // relative to the root, '/'-separated
  std::filesystem::path location;  // where to read it (through a link inside the root, if any)
  std::int64_t size = 0;
};

struct RootScan {
  std::vector<SourceFile> files;      // sorted by listed path, byte by byte
  std::vector<std::string> problems;  // every path that cannot be published, with the reason
};

// Every regular file below root. Symbolic links are followed while they stay inside the root; a
// link that leaves it, names nothing or closes a loop is a problem, as is any other kind of file,
// a path the checksum list cannot carry and a file too large for it.
RootScan ScanRoot(const std::filesystem::path& root);

}  // namespace vexmor::publish
