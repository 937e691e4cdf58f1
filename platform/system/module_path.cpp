#include "platform/system/module_path.h"

#include <system_error>

namespace vexmor::platform {

std::filesystem::path GetModulePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

}  // namespace vexmor::platform
