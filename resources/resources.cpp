#include "resources/resources.h"

#include "resources/embedded_file.h"

namespace vexmor {
namespace {

std::span<const std::uint8_t> FindEntry(int id, int pixels, bool anyPixels) {
  const std::span table(embedded::kResourceTable, embedded::kResourceTableSize);
  for (const auto& entry : table) {
    if (entry.id == id && (anyPixels || entry.pixels == pixels)) {
      return {entry.file->bytes, entry.file->size};
    }
  }
  return {};
}

}  // namespace

// The table lists the icon's images largest first, so the first match of an id is the largest.
std::span<const std::uint8_t> FindResource(int id) { return FindEntry(id, 0, true); }

std::span<const std::uint8_t> FindIconImage(int id, int pixels) {
  if (pixels <= 0) return {};
  return FindEntry(id, pixels, false);
}

std::wstring_view FindStringResource(int id) {
  switch (id) {
    case 103:
      return L"VEXMOR LAUNCHER";
    default:
      return {};
  }
}

}  // namespace vexmor
