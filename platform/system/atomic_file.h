#pragma once

#include <cstddef>
#include <filesystem>

namespace vexmor::platform {

// Writes a file through a temporary file in the same folder that replaces the target by rename
// only when everything was written: readers and a failed write never see a partial target.
class AtomicFileWriter {
 public:
  // Creates the temporary file. It fails, leaving IsOpen() false, when the target is a directory
  // or read-only (no write permission bit, even for root) or the folder refuses a new file. The
  // temporary takes the permission bits of an existing target.
  explicit AtomicFileWriter(const std::filesystem::path& target);
  // Removes the temporary file unless Commit succeeded.
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Appends bytes; false on any write error (disk full included).
  bool Write(const void* data, std::size_t size);
  // Closes the temporary and renames it over the target. False leaves the target as it was.
  bool Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  bool failed_ = false;
};

}  // namespace vexmor::platform
