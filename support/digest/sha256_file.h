#pragma once

#include <filesystem>
#include <string>

namespace vexmor {

// SHA-256 of a file's contents as 64 lower-case hexadecimal digits, the form the signed
// documents list. Empty when the file cannot be opened or read (a directory included).
std::string Sha256FileHex(const std::filesystem::path& file);

}  // namespace vexmor
