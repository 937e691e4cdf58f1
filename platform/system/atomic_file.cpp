#include "platform/system/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexmor::platform {
namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

std::string RandomSuffix() {
  static constexpr char kDigits[] = "0123456789abcdef";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string suffix = ".tmp-";
  for (std::uint32_t bits = random(), i = 0; i < 8; ++i, bits >>= 4) suffix.push_back(kDigits[bits & 0xF]);
  return suffix;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target) : target_(target) {
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & kAnyWrite) == 0)) return;
  if (!exists && errno != ENOENT) return;

  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += RandomSuffix();
    // 0666 lets the umask decide, as for any newly created file.
    fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) temporary_ = std::move(candidate);
    else if (errno != EEXIST) return;
  }
  if (fd_ >= 0 && exists && ::fchmod(fd_, existing.st_mode & 07777) != 0) Discard();
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(fd_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (fd_ < 0 || failed_) return false;
  // close reports write-back errors that some file systems hold until then.
  const int closed = ::close(fd_);
  fd_ = -1;
  const bool renamed = closed == 0 && std::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (!renamed) ::unlink(temporary_.c_str());
  temporary_.clear();
  return renamed;
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace vexmor::platform
