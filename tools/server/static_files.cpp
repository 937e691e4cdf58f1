#include "tools/server/static_files.h"

namespace vexmor {

std::optional<std::filesystem::path> FileForRequest(const std::filesystem::path& root, std::string_view prefix,
                                                    std::string_view requestPath) {
  if (!requestPath.starts_with(prefix)) return std::nullopt;
  std::string_view rest = requestPath.substr(prefix.size());
  if (!rest.starts_with('/') || rest.find('\0') != std::string_view::npos) return std::nullopt;

  std::filesystem::path file = root;
  while (!rest.empty()) {
    rest.remove_prefix(1);  // the '/' before this segment
    const auto end = rest.find('/');
    const std::string_view segment = rest.substr(0, end);
    if (segment == "..") return std::nullopt;
    if (!segment.empty() && segment != ".") file /= segment;
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  }
  if (file == root) return std::nullopt;
  return file;
}

}  // namespace vexmor
