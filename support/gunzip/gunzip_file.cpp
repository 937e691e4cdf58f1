#include "support/gunzip/gunzip_file.h"

#include <memory>

#include <zlib.h>

#include "platform/system/atomic_file.h"

namespace vexmor {
namespace {

constexpr unsigned kInputBufferSize = 1 << 20;
constexpr unsigned kBlockSize = 65536;

struct GzClose {
  void operator()(gzFile file) const { gzclose(file); }
};

}  // namespace

bool GunzipFile(const std::filesystem::path& source, const std::filesystem::path& target) {
  const std::unique_ptr<gzFile_s, GzClose> input(gzopen(source.c_str(), "rbe"));
  if (!input) return false;
  gzbuffer(input.get(), kInputBufferSize);

  platform::AtomicFileWriter output(target);
  if (!output.IsOpen()) return false;

  const auto buffer = std::make_unique<char[]>(kBlockSize);
  for (;;) {
    const int count = gzread(input.get(), buffer.get(), kBlockSize);
    if (count < 0) return false;
    if (count == 0) {
      // A stream cut short also ends in 0; zlib only remembers it as Z_BUF_ERROR ("unexpected end
      // of file"), which would otherwise install a short file.
      int error = Z_OK;
      gzerror(input.get(), &error);
      return error == Z_OK && output.Commit();
    }
    if (!output.Write(buffer.get(), static_cast<std::size_t>(count))) return false;
  }
}

}  // namespace vexmor
