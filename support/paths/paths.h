#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vexmor {

// Folder of the running executable, without a trailing separator.
std::filesystem::path GetLauncherFolder();

// Creates every missing ancestor folder of a file path, one level at a time. Folders that exist
// already, or that the system refuses for lack of access, do not count as failures: the caller's
// following open reports those.
bool CreateParentDirectories(const std::filesystem::path& file);

// Last component of a path; both '/' and '\' separate folders.
std::wstring FileNameOf(std::wstring_view path);

// Local path of a listed (server-side, '/'-separated) relative path below a folder.
std::filesystem::path LocalPathOf(const std::filesystem::path& folder, std::string_view listedPath);

}  // namespace vexmor
