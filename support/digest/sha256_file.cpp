#include "support/digest/sha256_file.h"

#include <array>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexmor {
namespace {

constexpr std::size_t kBlockSize = 65536;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string ToLowerHex(const unsigned char* bytes, unsigned int size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (unsigned int i = 0; i < size; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0xF]);
  }
  return text;
}

}  // namespace

std::string Sha256FileHex(const std::filesystem::path& file) {
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return "";
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || S_ISDIR(status.st_mode)) return "";

  const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return "";

  // One buffer for the whole file: memory use does not depend on the file size.
  const auto buffer = std::make_unique<unsigned char[]>(kBlockSize);
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer.get(), kBlockSize);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return "";  // a digest of part of the file would only pose as a mismatch
    }
    if (EVP_DigestUpdate(context.get(), buffer.get(), static_cast<std::size_t>(count)) != 1) return "";
  }

  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int digestSize = 0;
  if (EVP_DigestFinal_ex(context.get(), digest.data(), &digestSize) != 1) return "";
  return ToLowerHex(digest.data(), digestSize);
}

}  // namespace vexmor
