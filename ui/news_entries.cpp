#include "ui/news_entries.h"

#include <array>

namespace vexmor {

std::vector<NewsEntry> GroupNewsEntries(std::wstring_view text) {
  std::vector<NewsEntry> entries;
  std::array<std::wstring_view, 4> fields;
  std::size_t field = 0;
  std::size_t position = 0;
  while (position < text.size() && entries.size() < kMaxNewsEntries) {
    const std::size_t end = text.find(L'\n', position);
    const std::wstring_view line = text.substr(
        position, end == std::wstring_view::npos ? std::wstring_view::npos : end - position);
    position = end == std::wstring_view::npos ? text.size() : end + 1;
    if (line.empty() || line == L"\r") continue;
    fields[field++] = line;
    if (field == fields.size()) {
      entries.push_back({std::wstring(fields[0]), std::wstring(fields[1]), std::wstring(fields[2]),
                         std::wstring(fields[3])});
      field = 0;
    }
  }
  return entries;
}

}  // namespace vexmor
