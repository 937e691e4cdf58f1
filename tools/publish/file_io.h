#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vexmor::publish {

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileClose>;

inline FileHandle OpenFile(const std::filesystem::path& path, const char* mode) {
  return FileHandle(std::fopen(path.c_str(), mode));
}

// Closes a file that was written, reporting whether every byte reached it.
bool CloseWritten(FileHandle file);

// The whole contents of a file; false when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes);

// Creates or replaces a file with exactly these bytes; false when that fails.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace vexmor::publish
