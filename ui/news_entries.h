#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexmor {

inline constexpr std::size_t kMaxNewsEntries = 3;

// One news entry: four consecutive non-blank lines of the news text.
struct NewsEntry {
  std::wstring badge;     // shown large over the whole panel
  std::wstring headline;  // top left of the panel's right part
  std::wstring detail;    // bottom right, dimmed
  std::wstring link;      // opened when the entry is clicked
  bool operator==(const NewsEntry&) const = default;
};

// Groups the lines of a news text into at most kMaxNewsEntries entries. Lines end at a line feed
// (a carriage return before it stays in the line; a last line needs no line feed). An empty line,
// or one that is a lone carriage return, is skipped wherever it stands; every other line, even
// one of blanks only, fills the next field. An entry left incomplete at the end is dropped.
std::vector<NewsEntry> GroupNewsEntries(std::wstring_view text);

}  // namespace vexmor
