#include <openssl/bio.h>
#include <openssl/pem.h>

#include <cstdio>
#include <future>

#include "support/digest/crc32.h"
#include "support/digest/sha256_file.h"
#include "support/patchinfo/patch_list.h"
#include "support/release/release_info.h"
#include "support/signature/signature.h"
#include "tools/publish/arguments.h"
#include "tools/publish/commands.h"
#include "tools/publish/file_io.h"
#include "tools/publish/gzip_inspect.h"
#include "tools/publish/signer.h"
#include "tools/publish/worker_pool.h"

namespace vexmor::publish {
namespace fs = std::filesystem;
namespace {

bool IsRsaPublicKeyPem(const std::string& pem) {
  const std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), BIO_free);
  if (!bio) return false;
  const KeyHandle key(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
  return key && EVP_PKEY_get_base_id(key.get()) == EVP_PKEY_RSA;
}

class TreeCheck {
 public:
  TreeCheck(fs::path tree, std::vector<std::string> keys)
      : tree_(std::move(tree)), documents_(tree_ / "new_launcher"), keys_(std::move(keys)) {}

  std::vector<std::string> Run() {
    if (!fs::is_regular_file(tree_ / "cdn_status.txt")) {
      Problem("cdn_status.txt is missing; the launcher's probe of this address would fail");
    }
    std::string release;
    if (ReadSigned("latest", release)) CheckRelease(release);
    std::string list;
    if (ReadSigned("checksums", list)) CheckFiles(list);
    std::string news;
    if (fs::exists(documents_ / "news.txt") || fs::exists(documents_ / "news.sig")) {
      ReadSigned("news", news);
    }
    return std::move(problems_);
  }

  std::size_t FileCount() const { return fileCount_; }

 private:
  // Reads "name.txt" and tells whether any key verifies it against "name.sig".
  bool ReadSigned(const std::string& name, std::string& text) {
    std::string signature;
    if (!ReadWholeFile(documents_ / (name + ".txt"), text)) {
      Problem(name + ".txt is missing");
      return false;
    }
    if (!ReadWholeFile(documents_ / (name + ".sig"), signature)) {
      Problem(name + ".sig is missing");
      return false;
    }
    for (const std::string& key : keys_) {
      if (VerifySignature(text, signature, key)) return true;
    }
    Problem(name + ".sig is not a valid signature of " + name + ".txt under any given key");
    return false;
  }

  void CheckRelease(const std::string& text) {
    ReleaseInfo release;
    if (!ParseReleaseInfo(text, release)) return Problem("latest.txt is not a well-formed release document");
    if (release.gameVersion <= 0) Problem("latest.txt has no game_version above 0");
    if (release.launcherVersion <= 0) return;
    const fs::path launcher = documents_ / "Vexmor.exe";
    std::error_code error;
    const auto size = fs::file_size(launcher, error);
    if (error) return Problem("Vexmor.exe is missing, but latest.txt publishes a launcher");
    if (static_cast<std::int64_t>(size) != release.launcherSize) {
      Problem("Vexmor.exe is " + std::to_string(size) + " bytes, latest.txt says " +
              std::to_string(release.launcherSize));
    }
    if (Sha256FileHex(launcher) != release.launcherChecksum) {
      Problem("Vexmor.exe does not have the SHA-256 that latest.txt lists");
    }
  }

  void CheckFiles(const std::string& text) {
    std::vector<PatchEntry> entries;
    std::int64_t total = 0;
    ReadPatchList(text, entries, total, nullptr);
    if (entries.empty() && !text.empty()) {
      return Problem("checksums.txt is not a valid checksum list; the launcher would read no records");
    }
    fileCount_ = entries.size();
    WorkerPool pool;
    std::vector<std::future<std::string>> checks;
    for (const PatchEntry& entry : entries) {
      checks.push_back(pool.Submit([this, &entry] { return CheckFile(entry); }));
    }
    for (auto& check : checks) {
      if (std::string problem = check.get(); !problem.empty()) Problem(problem);
    }
  }

  // What is wrong with the compressed copy of one listed file; empty when nothing is.
  std::string CheckFile(const PatchEntry& entry) const {
    const fs::path gz = documents_ / "files" / (entry.path + ".gz");
    const std::string name = "files/" + entry.path + ".gz";
    std::error_code error;
    const auto size = fs::file_size(gz, error);
    if (error) return name + " is missing";
    if (static_cast<std::int64_t>(size) != entry.compressedSize) {
      return name + " is " + std::to_string(size) + " bytes, checksums.txt says " +
             std::to_string(entry.compressedSize);
    }
    if (Sha256FileHex(gz) != entry.sha256)
      return name + " does not have the SHA-256 that checksums.txt lists";
    const GzipContent content = InspectGzip(gz);
    if (!content.complete) return name + " is not a complete gzip file";
    if (content.size != entry.size || Crc32Hex(content.crc) != entry.crc) {
      return name + " expands to " + std::to_string(content.size) + " bytes with CRC " +
             Crc32Hex(content.crc) + ", checksums.txt says " + std::to_string(entry.size) +
             " bytes with CRC " + entry.crc;
    }
    return {};
  }

  void Problem(std::string text) { problems_.push_back(std::move(text)); }

  fs::path tree_;
  fs::path documents_;
  std::vector<std::string> keys_;
  std::vector<std::string> problems_;
  std::size_t fileCount_ = 0;
};

}  // namespace

int RunVerify(std::span<const std::string> args) {
  static constexpr OptionSpec kSpecs[] = {{"tree"}, {"public", true}};
  Options options;
  std::string problem = ParseOptions(args, kSpecs, options);
  if (problem.empty() && (!options.Has("tree") || !options.Has("public"))) {
    problem = "--tree and at least one --public are required";
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "vexmor-publish verify: %s\n", problem.c_str());
    return 2;
  }
  std::vector<std::string> keys;
  for (const std::string& file : options.All("public")) {
    std::string pem;
    if (!ReadWholeFile(file, pem) || !IsRsaPublicKeyPem(pem)) {
      std::fprintf(stderr, "vexmor-publish verify: %s: not a PEM RSA public key\n", file.c_str());
      return 1;
    }
    keys.push_back(std::move(pem));
  }
  const fs::path tree = options.Get("tree");
  if (!fs::is_directory(tree)) {
    std::fprintf(stderr, "vexmor-publish verify: %s is not a folder\n", tree.c_str());
    return 1;
  }
  TreeCheck check(tree, std::move(keys));
  const std::vector<std::string> problems = check.Run();
  for (const std::string& line : problems) std::printf("%s\n", line.c_str());
  if (!problems.empty()) {
    std::printf("%zu problem%s in %s\n", problems.size(), problems.size() == 1 ? "" : "s", tree.c_str());
    return 1;
  }
  std::printf("%s is sound: every signature verifies and all %zu files match the checksum list\n",
              tree.c_str(), check.FileCount());
  return 0;
}

}  // namespace vexmor::publish
