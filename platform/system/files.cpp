#include "platform/system/files.h"

#include <fcntl.h>
#include <stdio.h>

namespace vexmor::platform {

bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace vexmor::platform
