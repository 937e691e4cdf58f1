#pragma once

#include <openssl/evp.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vexmor::publish {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using KeyHandle = std::unique_ptr<EVP_PKEY, KeyFree>;

// The RSA private key in a PEM file, or null with the reason in error. Keys protected by a
// password are refused: the publisher runs unattended.
KeyHandle LoadSigningKey(const std::filesystem::path& file, std::string& error);

// The raw RSA PKCS#1 v1.5 signature over the SHA-256 of document, as many bytes as the modulus.
// Empty when signing fails.
std::string SignDocument(EVP_PKEY* key, std::string_view document);

// The public half as PEM SubjectPublicKeyInfo, the form the launcher builds in.
std::string PublicKeyPem(EVP_PKEY* key);

}  // namespace vexmor::publish
