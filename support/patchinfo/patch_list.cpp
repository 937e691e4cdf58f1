#include "support/patchinfo/patch_list.h"

#include "support/paths/text.h"

namespace vexmor {
namespace {

constexpr std::size_t kFieldCount = 5;
constexpr std::size_t kSha256Length = 64;

bool IsCancelled(const std::atomic<bool>* cancelFlag) {
  return cancelFlag && cancelFlag->load(std::memory_order_relaxed);
}

// A listed path names a file below the launcher folder: relative, '/'-separated, with no step
// outside it. Anything else could make the update write elsewhere.
bool IsSafeListedPath(std::string_view path) {
  if (path.empty() || path.front() == '/') return false;
  if (path.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) return false;
  const char first = path.front();
  const bool driveLetter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
  if (path.size() >= 2 && driveLetter && path[1] == ':') return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view component = path.substr(start, end - start);
    if (component == "." || component == "..") return false;
    start = end + 1;
  }
  return true;
}

std::string ToUpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

bool ReadPatchList(std::string_view text, std::vector<PatchEntry>& entries, std::int64_t& totalSize,
                   const std::atomic<bool>* cancelFlag) {
  totalSize = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    if (IsCancelled(cancelFlag)) return false;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string> fields = SplitTabs(text.substr(start, end - start));
    start = end + 1;

    if (fields.size() < kFieldCount || !IsSafeListedPath(fields[0])) {
      entries.clear();
      totalSize = 0;
      return true;
    }
    PatchEntry entry;
    entry.path = fields[0];
    entry.size = ToIntOrZero(fields[1]);
    entry.compressedSize = ToIntOrZero(fields[2]);
    entry.crc = ToUpperAscii(fields[3]);
    // The cut also drops the carriage return of a CRLF line, which ends this last field.
    entry.sha256 = fields[4].substr(0, kSha256Length);
    totalSize += entry.size;
    entries.push_back(std::move(entry));
  }
  return !IsCancelled(cancelFlag);
}

}  // namespace vexmor
