#include "support/paths/text.h"

#include <limits>

namespace vexmor {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Length of the UTF-8 sequence that starts with this byte, 0 when it cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::wstring AnsiToWide(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    if (length == 1) {
      out.push_back(lead);
      ++i;
      continue;
    }
    char32_t c = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    int taken = 1;
    while (length > 1 && taken < length && i + taken < text.size() &&
           (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
      c = (c << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
      ++taken;
    }
    const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (length == 0 || taken < length || c < minimum || !IsScalarValue(c)) {
      out.push_back(kReplacement);
      ++i;  // resynchronise at the next byte
      continue;
    }
    out.push_back(static_cast<wchar_t>(c));
    i += taken;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    char32_t c = static_cast<char32_t>(w);
    if (!IsScalarValue(c)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    auto end = line.find('\t', start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) fields.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::int32_t ToIntOrZero(std::string_view text) {
  std::size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t firstDigit = i;
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  bool outOfRange = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) {
      outOfRange = true;
      value = kLimit;  // keep consuming digits without overflowing
    }
  }
  if (i == firstDigit || outOfRange) return 0;
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<std::int32_t>(value);
}

}  // namespace vexmor
