#include "support/signature/signature.h"

#include <climits>
#include <memory>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

namespace vexmor {
namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

// The RSA public key of a PEM SubjectPublicKeyInfo; null for anything else, other key types included.
Key ReadRsaPublicKey(std::string_view pem) {
  if (pem.size() > INT_MAX) return nullptr;
  const std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return nullptr;
  Key key(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
  if (!key || !EVP_PKEY_is_a(key.get(), "RSA")) return nullptr;
  return key;
}

bool VerifyWithKey(std::string_view document, std::string_view signature, EVP_PKEY* key) {
  const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
  if (!context) return false;
  EVP_PKEY_CTX* keyContext = nullptr;  // owned by context
  if (EVP_DigestVerifyInit(context.get(), &keyContext, EVP_sha256(), nullptr, key) != 1) return false;
  if (EVP_PKEY_CTX_set_rsa_padding(keyContext, RSA_PKCS1_PADDING) != 1) return false;
  return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                          signature.size(), reinterpret_cast<const unsigned char*>(document.data()),
                          document.size()) == 1;
}

}  // namespace

bool VerifySignature(std::string_view document, std::string_view signature, std::string_view publicKeyPem) {
  if (signature.empty()) return false;
  const Key key = ReadRsaPublicKey(publicKeyPem);
  const bool valid = key && VerifyWithKey(document, signature, key.get());
  // A rejected key or signature leaves entries in this thread's error queue; they must not be
  // mistaken later for the cause of an unrelated TLS failure on the same thread.
  if (!valid) ERR_clear_error();
  return valid;
}

bool VerifyDocument(std::string_view document, std::string_view signature, std::string_view publicKey1,
                    std::string_view publicKey2) {
  return VerifySignature(document, signature, publicKey1) || VerifySignature(document, signature, publicKey2);
}

}  // namespace vexmor
