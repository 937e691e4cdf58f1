#pragma once

#include <filesystem>

namespace vexmor::platform {

// Renames a file, failing when the new name exists already (a plain rename would replace it).
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vexmor::platform
