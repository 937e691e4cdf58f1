#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace vexmor {

// The file that a decoded request path names below root, when the path lies below prefix ("" or
// "/bucket"). Paths outside the prefix and paths that climb out of root with ".." name nothing.
std::optional<std::filesystem::path> FileForRequest(const std::filesystem::path& root, std::string_view prefix,
                                                    std::string_view requestPath);

}  // namespace vexmor
