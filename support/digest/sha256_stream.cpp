#include "support/digest/sha256_stream.h"

#include <array>

#include <openssl/evp.h>

namespace vexmor {
namespace {

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

void Sha256Stream::ContextFree::operator()(evp_md_ctx_st* context) const { EVP_MD_CTX_free(context); }

Sha256Stream::Sha256Stream() : context_(EVP_MD_CTX_new()) {
  failed_ = !context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1;
}

Sha256Stream::~Sha256Stream() = default;

void Sha256Stream::Update(const void* data, std::size_t size) {
  if (!failed_ && EVP_DigestUpdate(context_.get(), data, size) != 1) failed_ = true;
}

std::string Sha256Stream::FinishHex() {
  if (failed_) return "";
  failed_ = true;  // a context is finished only once
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int size = 0;
  if (EVP_DigestFinal_ex(context_.get(), digest.data(), &size) != 1) return "";
  return ToLowerHex(digest.data(), size);
}

}  // namespace vexmor
