// The news document over arbitrary bytes, as the window receives it: converted from the server's
// code page, then grouped into entries. Besides not crashing:
// - the conversion yields only Unicode scalar values, stops at the first NUL, and survives a trip
//   through UTF-8 unchanged;
// - the entries are the non-blank lines of the text taken four at a time, at most three entries,
//   every field a whole line (never empty, never a lone carriage return, never with a line feed).

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/paths/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "ui/news_entries.h"

namespace {

std::vector<std::wstring_view> NonBlankLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(L'\n');
    const std::wstring_view line = text.substr(0, end);
    if (!line.empty() && line != L"\r") lines.push_back(line);
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::wstring text = vexmor::AnsiToWide(bytes);
  FUZZ_CHECK(text.size() <= bytes.substr(0, bytes.find('\0')).size());
  for (wchar_t c : text) {
    FUZZ_CHECK(c != L'\0' && static_cast<char32_t>(c) <= 0x10FFFF);
    FUZZ_CHECK(!(c >= 0xD800 && c <= 0xDFFF));
  }
  FUZZ_CHECK(vexmor::AnsiToWide(vexmor::WideToUtf8(text)) == text);

  const std::vector<vexmor::NewsEntry> entries = vexmor::GroupNewsEntries(text);
  const std::vector<std::wstring_view> lines = NonBlankLines(text);
  FUZZ_CHECK(entries.size() == std::min<std::size_t>(vexmor::kMaxNewsEntries, lines.size() / 4));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const vexmor::NewsEntry& entry = entries[i];
    FUZZ_CHECK(entry.badge == lines[4 * i] && entry.headline == lines[4 * i + 1]);
    FUZZ_CHECK(entry.detail == lines[4 * i + 2] && entry.link == lines[4 * i + 3]);
    for (const std::wstring* field : {&entry.badge, &entry.headline, &entry.detail, &entry.link}) {
      FUZZ_CHECK(!field->empty() && *field != L"\r" && field->find(L'\n') == std::wstring::npos);
    }
  }
  return 0;
}
