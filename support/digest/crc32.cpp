#include "support/digest/crc32.h"

#include <libdeflate.h>

namespace vexmor {

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
  return libdeflate_crc32(crc, data, size);
}

std::string Crc32Hex(std::uint32_t crc) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, crc >>= 4) text[i] = kDigits[crc & 0xF];
  return text;
}

}  // namespace vexmor
