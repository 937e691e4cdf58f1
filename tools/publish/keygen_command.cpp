#include <fcntl.h>
#include <openssl/pem.h>
#include <unistd.h>

#include <cstdio>

#include "tools/publish/arguments.h"
#include "tools/publish/commands.h"
#include "tools/publish/file_io.h"
#include "tools/publish/signer.h"

namespace vexmor::publish {
namespace {

constexpr std::int32_t kDefaultBits = 2048;
constexpr std::int32_t kFewestBits = 2048;
constexpr std::int32_t kMostBits = 16384;

// Creates a file that must not exist yet, readable by its owner only when it holds a secret.
FileHandle CreateNewFile(const std::string& path, bool secret) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, secret ? 0600 : 0644);
  if (fd < 0) return nullptr;
  FileHandle file(fdopen(fd, "wb"));
  if (!file) close(fd);
  return file;
}

}  // namespace

int RunKeygen(std::span<const std::string> args) {
  static constexpr OptionSpec kSpecs[] = {{"private"}, {"public"}, {"bits"}};
  Options options;
  if (std::string problem = ParseOptions(args, kSpecs, options); !problem.empty()) {
    std::fprintf(stderr, "vexmor-publish keygen: %s\n", problem.c_str());
    return 2;
  }
  if (!options.Has("private") || !options.Has("public")) {
    std::fprintf(stderr, "vexmor-publish keygen: --private and --public are required\n");
    return 2;
  }
  std::int32_t bits = kDefaultBits;
  if (options.Has("bits")) {
    const auto given = ParsePositiveNumber(options.Get("bits"));
    if (!given || *given < kFewestBits || *given > kMostBits) {
      std::fprintf(stderr, "vexmor-publish keygen: --bits must be a number from %d to %d\n", kFewestBits,
                   kMostBits);
      return 2;
    }
    bits = *given;
  }
  const std::string privatePath = options.Get("private");
  const std::string publicPath = options.Get("public");
  for (const std::string& path : {privatePath, publicPath}) {
    if (access(path.c_str(), F_OK) == 0) {
      std::fprintf(stderr, "vexmor-publish keygen: %s exists; a key is never overwritten\n", path.c_str());
      return 1;
    }
  }
  const KeyHandle key(EVP_RSA_gen(static_cast<unsigned>(bits)));
  const std::string publicPem = key ? PublicKeyPem(key.get()) : std::string();
  if (publicPem.empty()) {
    std::fprintf(stderr, "vexmor-publish keygen: the key pair cannot be generated\n");
    return 1;
  }
  FileHandle privateFile = CreateNewFile(privatePath, true);
  if (!privateFile ||
      PEM_write_PrivateKey(privateFile.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
      !CloseWritten(std::move(privateFile))) {
    std::fprintf(stderr, "vexmor-publish keygen: %s cannot be written\n", privatePath.c_str());
    std::remove(privatePath.c_str());
    return 1;
  }
  FileHandle publicFile = CreateNewFile(publicPath, false);
  const bool created = publicFile != nullptr;
  if (!created || std::fwrite(publicPem.data(), 1, publicPem.size(), publicFile.get()) != publicPem.size() ||
      !CloseWritten(std::move(publicFile))) {
    std::fprintf(stderr, "vexmor-publish keygen: %s cannot be written\n", publicPath.c_str());
    // A private key without its public half is of no use; nothing is left half made.
    std::remove(privatePath.c_str());
    if (created) std::remove(publicPath.c_str());
    return 1;
  }
  std::fprintf(stderr, "Wrote the %d-bit RSA private key %s and its public half %s.\n", bits,
               privatePath.c_str(), publicPath.c_str());
  return 0;
}

}  // namespace vexmor::publish
