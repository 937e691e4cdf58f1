#pragma once

#include <filesystem>
#include <string>

namespace vexmor::publish {

// A new, empty folder next to a tree, where its next version is built. Removed with everything in
// it when the object ends, unless it was swapped into place.
class StagingFolder {
 public:
  // Creates the folder; path() is empty and error says why when it cannot be made.
  StagingFolder(const std::filesystem::path& tree, std::string& error);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Puts the staged folder in place of the tree and removes the old tree. Where a tree exists
  // the two are exchanged in one step, so a server never sees a half-built or missing tree.
  std::string SwapIntoPlace();

 private:
  std::filesystem::path tree_;
  std::filesystem::path path_;
};

}  // namespace vexmor::publish
