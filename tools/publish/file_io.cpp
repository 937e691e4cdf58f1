#include "tools/publish/file_io.h"

namespace vexmor::publish {

bool CloseWritten(FileHandle file) {
  const bool written = std::ferror(file.get()) == 0;
  return std::fclose(file.release()) == 0 && written;
}

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes) {
  const FileHandle in = OpenFile(file, "rb");
  if (!in) return false;
  bytes.clear();
  char block[65536];
  std::size_t count = 0;
  while ((count = std::fread(block, 1, sizeof block, in.get())) > 0) bytes.append(block, count);
  return std::ferror(in.get()) == 0;
}

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes) {
  FileHandle out = OpenFile(file, "wb");
  return out && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
         CloseWritten(std::move(out));
}

}  // namespace vexmor::publish
