#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexmor {

// Server text to wide text. The system code page here is UTF-8; an invalid byte becomes U+FFFD,
// so the conversion never fails. The text ends at its first NUL byte.
std::wstring AnsiToWide(std::string_view text);

// Wide text to UTF-8 (for paths, terminals and logs). Values that are not Unicode scalar values
// become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Fields of a TAB-separated line; empty fields are dropped, nothing is trimmed.
std::vector<std::string> SplitTabs(std::string_view line);

// Base-10 number with strtol's rules (leading white space, optional sign, digits up to the first
// other character); 0 when there is no digit or the number is outside the signed 32-bit range.
std::int32_t ToIntOrZero(std::string_view text);

}  // namespace vexmor
