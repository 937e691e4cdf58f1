#pragma once

#include <filesystem>
#include <string_view>

namespace vexmor::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, creating its folders.
void WriteFile(const std::filesystem::path& file, std::string_view bytes);
// The whole contents of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

}  // namespace vexmor::test
