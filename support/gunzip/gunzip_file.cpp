#include "support/gunzip/gunzip_file.h"

#include <algorithm>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/atomic_file.h"
#include "platform/system/file_descriptor.h"
#include "support/gunzip/gunzip_stream.h"

namespace vexmor {
bool GunzipFile(const std::filesystem::path& source, const std::filesystem::path& target) {
  const platform::FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) return false;
  platform::AtomicFileWriter output(target);
  if (!output.IsOpen()) return false;
  // A small file needs no large input buffer, which would be allocated and touched per file.
  struct stat status {};
  const std::int64_t size = ::fstat(input.get(), &status) == 0 ? status.st_size : 0;
  const auto bufferBytes = static_cast<std::size_t>(
      std::clamp<std::int64_t>(size + 1, 4096, static_cast<std::int64_t>(kGunzipInputBufferBytes)));
  return ExpandInto(input.get(), bufferBytes, output) && output.Commit();
}

}  // namespace vexmor
