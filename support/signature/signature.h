#pragma once

#include <string_view>

namespace vexmor {

// True only when signature is an RSA PKCS#1 v1.5 signature with SHA-256 over exactly the bytes of
// document, made with the private half of publicKeyPem (a PEM SubjectPublicKeyInfo holding an RSA
// key). The signature is the raw bytes, as long as the key's modulus. Reentrant.
bool VerifySignature(std::string_view document, std::string_view signature, std::string_view publicKeyPem);

// A server document is trusted when either built-in key signed it; the second key is tried only
// after the first has failed.
bool VerifyDocument(std::string_view document, std::string_view signature, std::string_view publicKey1,
                    std::string_view publicKey2);

}  // namespace vexmor
