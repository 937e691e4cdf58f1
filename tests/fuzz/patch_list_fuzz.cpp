// The checksum list over arbitrary bytes. Besides not crashing:
// - the list is read whole, or refused whole (no records, total 0);
// - a read list has one record per line, each with all five fields present, a CRC without
//   lower-case letters, at most 64 digest characters, and a path that stays inside the game folder;
// - the total is the sum of the sizes;
// - the records written out again read back the same;
// - a cancelled read yields false and nothing.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/patchinfo/patch_list.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using vexmor::PatchEntry;

std::size_t LineCount(std::string_view text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines + (!text.empty() && text.back() != '\n');
}

bool StaysInside(std::string_view path) {
  if (path.empty() || path.front() == '/') return false;
  if (path.find('\\') != std::string_view::npos || path.find('\0') != std::string_view::npos) return false;
  const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  if (path.size() >= 2 && letter && path[1] == ':') return false;  // a drive
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find('/', start);
    const std::string_view step = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
    if (step == ".." || step == ".") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

void CheckEntry(const PatchEntry& entry) {
  for (const std::string* field : {&entry.path, &entry.crc, &entry.sha256}) {
    FUZZ_CHECK(!field->empty());
    FUZZ_CHECK(field->find('\t') == std::string::npos && field->find('\n') == std::string::npos);
  }
  FUZZ_CHECK(StaysInside(entry.path));
  for (char c : entry.crc) FUZZ_CHECK(!(c >= 'a' && c <= 'z'));
  FUZZ_CHECK(entry.sha256.size() <= 64);
  FUZZ_CHECK(!entry.needsUpdate && !entry.failed && entry.errorText.empty());
}

std::string Write(const std::vector<PatchEntry>& entries) {
  std::string out;
  for (const PatchEntry& entry : entries) {
    out += entry.path + "\t" + std::to_string(entry.size) + "\t" + std::to_string(entry.compressedSize) + "\t" +
           entry.crc + "\t" + entry.sha256 + "\n";
  }
  return out;
}

bool SameRecords(const std::vector<PatchEntry>& a, const std::vector<PatchEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].path != b[i].path || a[i].size != b[i].size || a[i].compressedSize != b[i].compressedSize ||
        a[i].crc != b[i].crc || a[i].sha256 != b[i].sha256) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<PatchEntry> entries;
  std::int64_t total = -1;
  FUZZ_CHECK(vexmor::ReadPatchList(text, entries, total, nullptr));
  FUZZ_CHECK(entries.empty() || entries.size() == LineCount(text));
  std::int64_t sum = 0;
  for (const PatchEntry& entry : entries) {
    CheckEntry(entry);
    sum += entry.size;
  }
  FUZZ_CHECK(total == sum);

  std::vector<PatchEntry> reread;
  std::int64_t rereadTotal = -1;
  FUZZ_CHECK(vexmor::ReadPatchList(Write(entries), reread, rereadTotal, nullptr));
  FUZZ_CHECK(SameRecords(entries, reread) && rereadTotal == total);

  const std::atomic<bool> cancelled{true};
  std::vector<PatchEntry> none;
  std::int64_t noneTotal = -1;
  FUZZ_CHECK(!vexmor::ReadPatchList(text, none, noneTotal, &cancelled));
  FUZZ_CHECK(none.empty() && noneTotal == 0);
  return 0;
}
