#include "tools/publish/tree_swap.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>

namespace vexmor::publish {
namespace fs = std::filesystem;

StagingFolder::StagingFolder(const fs::path& tree, std::string& error) : tree_(tree) {
  const fs::path parent = tree.parent_path().empty() ? fs::path(".") : tree.parent_path();
  std::error_code missing;  // a folder that cannot be made shows in mkdtemp's failure below
  fs::create_directories(parent, missing);
  std::string pattern = (parent / ("." + tree.filename().string() + ".publish-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = "cannot create a folder next to " + tree.string() + ": " + std::strerror(errno);
    return;
  }
  path_ = pattern;
}

StagingFolder::~StagingFolder() {
  if (path_.empty()) return;
  std::error_code ignored;  // nothing more can be done about a leftover temporary folder
  fs::remove_all(path_, ignored);
}

std::string StagingFolder::SwapIntoPlace() {
  std::error_code error;
  fs::permissions(path_,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  error);
  if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, tree_.c_str(), RENAME_EXCHANGE) == 0) {
    return {};  // path_ now holds the old tree, which the destructor removes
  }
  if (errno != ENOENT) {
    return "cannot put the new tree in place of " + tree_.string() + ": " + std::strerror(errno);
  }
  if (std::rename(path_.c_str(), tree_.c_str()) != 0) {
    return "cannot put the new tree in place at " + tree_.string() + ": " + std::strerror(errno);
  }
  path_.clear();
  return {};
}

}  // namespace vexmor::publish
