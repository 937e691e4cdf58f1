#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexmor::platform {

// The text of a profile (INI) file as the profile functions read and edit it: "[section]" headers,
// "key=value" lines, ";" comments. Section and key names match without regard to ASCII case;
// blanks around names and values do not count, and a value in matching quotes loses them.

// The value of key in section; nullopt when the section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// The leading decimal integer of a value (optional sign, then digits up to the first other
// character). A value without digits gives 0, as does one outside the signed 32-bit range.
std::int32_t ProfileValueToInt(std::string_view value);

// The text with key set to value in section. An existing key line is rewritten in place; a missing
// key is added at the end of its section, a missing section at the end of the text. Every other
// line is kept byte for byte, and new lines take the text's line ending. nullopt when section, key
// or value could not be read back as written (line breaks, "]" in a section, "=" in a key, blanks
// around a name, an empty name).
std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                                           std::string_view value);

}  // namespace vexmor::platform
