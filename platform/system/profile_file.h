#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vexmor::platform {

// Settings kept in a profile (INI) file such as "Launcher.ini"; section and key names match
// without regard to ASCII case.

// The integer under section and key. defaultValue when the file, the section or the key is
// missing or the file cannot be read; a value without leading digits gives 0.
std::int32_t GetProfileInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
                           std::int32_t defaultValue);

// Sets key in section to value, creating the file, the section and the key when missing and keeping
// every other line as it was. The file is replaced atomically: a failed write leaves it unchanged.
// False when the file cannot be read or written or the names cannot be stored.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace vexmor::platform
