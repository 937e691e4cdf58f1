#pragma once

#include <cstdint>
#include <string>

namespace vexmor {

// One record of the checksum list, with the results of the check and the download.
struct PatchEntry {
  std::string path;  // relative to the launcher folder, '/'-separated, as listed
  std::int32_t size = 0;
  std::int32_t compressedSize = 0;
  std::string crc;     // 8 hexadecimal digits, upper-cased when read
  std::string sha256;  // at most the first 64 characters of the listed digest
  bool needsUpdate = false;
  bool failed = false;
  std::wstring errorText;
};

}  // namespace vexmor
