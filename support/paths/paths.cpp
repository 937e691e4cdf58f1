#include "support/paths/paths.h"

#include <system_error>

#include "platform/system/module_path.h"

namespace vexmor {

std::filesystem::path GetLauncherFolder() {
  return platform::GetModulePath().parent_path();
}

bool CreateParentDirectories(const std::filesystem::path& file) {
  const std::string& text = file.native();
  const auto last = text.rfind('/');
  if (last == std::string::npos || last == 0) return true;
  // A separator at position 0 is the root, never a folder to create.
  for (auto cut = text.find('/', 1); cut != std::string::npos && cut <= last; cut = text.find('/', cut + 1)) {
    std::error_code error;
    std::filesystem::create_directory(text.substr(0, cut), error);
    if (error && error != std::errc::file_exists && error != std::errc::permission_denied) return false;
  }
  return true;
}

std::wstring FileNameOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"/\\");
  return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

std::filesystem::path LocalPathOf(const std::filesystem::path& folder, std::string_view listedPath) {
  return folder / std::filesystem::path(std::string(listedPath));
}

}  // namespace vexmor
