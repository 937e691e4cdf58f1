#include "tools/publish/signer.h"

#include <openssl/bio.h>
#include <openssl/pem.h>

#include "tools/publish/file_io.h"

namespace vexmor::publish {
namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// Refuses the password prompt that OpenSSL would otherwise show for an encrypted key.
int NoPassword(char*, int, int, void*) { return -1; }

}  // namespace

KeyHandle LoadSigningKey(const std::filesystem::path& file, std::string& error) {
  const FileHandle input = OpenFile(file, "rb");
  if (!input) {
    error = file.string() + ": the private key cannot be opened";
    return nullptr;
  }
  KeyHandle key(PEM_read_PrivateKey(input.get(), nullptr, NoPassword, nullptr));
  if (!key) {
    error = file.string() + ": not a PEM private key without password";
    return nullptr;
  }
  if (EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA) {
    error = file.string() + ": not an RSA key; the launcher checks RSA signatures only";
    return nullptr;
  }
  return key;
}

std::string SignDocument(EVP_PKEY* key, std::string_view document) {
  const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
  std::size_t length = 0;
  // The default RSA padding is PKCS#1 v1.5, the one the launcher verifies.
  if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) <= 0 ||
      EVP_DigestSign(context.get(), nullptr, &length, reinterpret_cast<const unsigned char*>(document.data()),
                     document.size()) <= 0) {
    return {};
  }
  std::string signature(length, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     reinterpret_cast<const unsigned char*>(document.data()), document.size()) <= 0) {
    return {};
  }
  signature.resize(length);
  return signature;
}

std::string PublicKeyPem(EVP_PKEY* key) {
  const std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_PUBKEY(bio.get(), key) != 1) return {};
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

}  // namespace vexmor::publish
