#include "tests/fuzz/scratch_folder.h"

#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_check.h"

namespace vexmor::fuzz {
namespace {

// Owns the folder: removes it with everything in it when the process ends normally.
struct OwnedFolder {
  OwnedFolder() {
    std::error_code error;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path();
    std::string pattern = (base / "vexmor-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    path = pattern;
  }
  ~OwnedFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  OwnedFolder(const OwnedFolder&) = delete;
  OwnedFolder& operator=(const OwnedFolder&) = delete;

  std::filesystem::path path;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const OwnedFolder folder;
  return folder.path;
}

void ClearScratchFolder() {
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder())) {
    std::filesystem::remove_all(entry.path());
  }
}

}  // namespace vexmor::fuzz
