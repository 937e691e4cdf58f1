#include "support/digest/sha256_file.h"

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/file_descriptor.h"
#include "support/digest/sha256_stream.h"

namespace vexmor {
namespace {

constexpr std::size_t kBlockSize = 65536;

}  // namespace

std::string Sha256FileHex(const std::filesystem::path& file) {
  const platform::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return "";
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || S_ISDIR(status.st_mode)) return "";

  Sha256Stream digest;
  // One buffer for the whole file: memory use does not depend on the file size.
  const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer.get(), kBlockSize);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return "";  // a digest of part of the file would only pose as a mismatch
    }
    digest.Update(buffer.get(), static_cast<std::size_t>(count));
  }
  return digest.FinishHex();
}

}  // namespace vexmor
