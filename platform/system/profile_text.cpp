#include "platform/system/profile_text.h"

#include <limits>
#include <vector>

namespace vexmor::platform {
namespace {

// A stray carriage return (a last line without line feed) counts as blank too.
constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

enum class LineKind { Blank, Other, Header, Entry };  // Other: comments and lines without "="

// One line of the text: its place, and what it means.
struct Line {
  std::size_t start = 0;
  std::size_t length = 0;   // without the line ending
  std::string_view ending;  // "\r\n", "\n" or "" for a last line without one
  LineKind kind = LineKind::Blank;
  std::string_view name;   // section of a header, key of an entry
  std::string_view value;  // value of an entry
};

Line ParseLine(std::string_view text, std::size_t start, std::size_t end) {
  Line line;
  line.start = start;
  std::string_view content = text.substr(start, end - start);
  if (end < text.size()) {
    line.ending = content.ends_with('\r') ? "\r\n" : "\n";
    if (content.ends_with('\r')) content.remove_suffix(1);
  }
  line.length = content.size();
  if (start == 0 && content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());

  const std::string_view trimmed = Trim(content);
  if (trimmed.empty()) return line;
  line.kind = LineKind::Other;
  if (trimmed.front() == ';') return line;
  if (trimmed.front() == '[') {
    const std::string_view inside = trimmed.substr(1);
    line.kind = LineKind::Header;
    line.name = Trim(inside.substr(0, inside.find(']')));
    return line;
  }
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos) return line;
  line.kind = LineKind::Entry;
  line.name = Trim(trimmed.substr(0, equals));
  line.value = Trim(trimmed.substr(equals + 1));
  return line;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(ParseLine(text, start, end));
    start = end + 1;
  }
  return lines;
}

// Where section and key are in the lines.
struct Place {
  std::optional<std::size_t> entry;       // the key's line
  std::optional<std::size_t> sectionEnd;  // last non-blank line of the first matching section
};

Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  bool inFirstSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.kind == LineKind::Header) {
      inSection = EqualsIgnoringCase(line.name, section);
      inFirstSection = inSection && !place.sectionEnd;
      if (inFirstSection) place.sectionEnd = i;
      continue;
    }
    if (inFirstSection && line.kind != LineKind::Blank) place.sectionEnd = i;
    if (inSection && line.kind == LineKind::Entry && EqualsIgnoringCase(line.name, key)) {
      place.entry = i;
      return place;
    }
  }
  return place;
}

bool IsWritableName(std::string_view name, std::string_view forbidden) {
  return !name.empty() && Trim(name) == name && name.find_first_of(forbidden) == std::string_view::npos;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const Place place = Locate(lines, section, key);
  if (!place.entry) return std::nullopt;
  std::string_view value = lines[*place.entry].value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::int32_t ProfileValueToInt(std::string_view value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::int64_t number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10 + (value[i] - '0');
    if (number > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return 0;
  }
  if (negative) number = -number;
  if (number > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<std::int32_t>(number);
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                                           std::string_view value) {
  using namespace std::string_view_literals;
  const std::string_view lineBreaks("\r\n\0", 3);
  if (!IsWritableName(section, "\r\n\0]"sv) || !IsWritableName(key, "\r\n\0="sv) || key.front() == '[' ||
      key.front() == ';' || value.find_first_of(lineBreaks) != std::string_view::npos) {
    return std::nullopt;
  }

  const std::vector<Line> lines = SplitLines(text);
  const std::string_view eol = !lines.empty() && lines.front().ending == "\r\n" ? "\r\n" : "\n";
  const Place place = Locate(lines, section, key);

  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (place.entry) {
    const Line& line = lines[*place.entry];
    out.append(text.substr(0, line.start));
    out.append(line.name).append("=").append(value).append(line.ending);
    out.append(text.substr(line.start + line.length + line.ending.size()));
    return out;
  }
  if (place.sectionEnd) {
    const Line& line = lines[*place.sectionEnd];
    const std::size_t after = line.start + line.length + line.ending.size();
    out.append(text.substr(0, after));
    if (line.ending.empty()) out.append(eol);
    out.append(key).append("=").append(value).append(eol);
    out.append(text.substr(after));
    return out;
  }
  out.append(text);
  if (!text.empty() && !text.ends_with('\n')) out.append(eol);
  out.append("[").append(section).append("]").append(eol);
  out.append(key).append("=").append(value).append(eol);
  return out;
}

}  // namespace vexmor::platform
