#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/signature/signature.h"

namespace vexmor {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};

std::string PemOf(EVP_PKEY* key, bool privateKey = false) {
  std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
  const int written = privateKey ? PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr)
                                 : PEM_write_bio_PUBKEY(bio.get(), key);
  if (written != 1) throw std::runtime_error("cannot write PEM");
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

std::string Sign(std::string_view document, EVP_PKEY* key) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  std::size_t size = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(document.data());
  if (EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &size, bytes, document.size()) != 1) {
    throw std::runtime_error("cannot sign");
  }
  std::string signature(size, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size, bytes,
                     document.size()) != 1) {
    throw std::runtime_error("cannot sign");
  }
  signature.resize(size);
  return signature;
}

std::string Base64(std::string_view bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int size = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                   reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  text.resize(static_cast<std::size_t>(size));
  return text;
}

constexpr std::string_view kDocument =
    "game_version = 25\nlauncher_version = 153\nwebsite_link = https://example.org/\n";

class SignatureTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (auto& key : keys_) key.reset(EVP_RSA_gen(2048));
    ecKey_.reset(EVP_EC_gen("P-256"));
    for (const auto& key : keys_) ASSERT_TRUE(key);
    ASSERT_TRUE(ecKey_);
  }
  static void TearDownTestSuite() {
    for (auto& key : keys_) key.reset();
    ecKey_.reset();
  }

  static std::string Pem(int index) { return PemOf(keys_[index].get()); }
  static std::string SignedBy(int index, std::string_view document = kDocument) {
    return Sign(document, keys_[index].get());
  }

  static inline Key keys_[3];
  static inline Key ecKey_;
};

TEST_F(SignatureTest, PublicKeyHasTheDeployedForm) {
  const std::string pem = Pem(0);
  EXPECT_EQ(pem.size(), 451u);
  EXPECT_TRUE(pem.starts_with("-----BEGIN PUBLIC KEY-----\n"));
  EXPECT_EQ(SignedBy(0).size(), 256u);
}

TEST_F(SignatureTest, DocumentVerifiesUnderEitherBuiltInKey) {
  EXPECT_TRUE(VerifySignature(kDocument, SignedBy(0), Pem(0)));
  EXPECT_FALSE(VerifySignature(kDocument, SignedBy(1), Pem(0)));
  EXPECT_TRUE(VerifyDocument(kDocument, SignedBy(0), Pem(0), Pem(1)));
  EXPECT_TRUE(VerifyDocument(kDocument, SignedBy(1), Pem(0), Pem(1)));
  EXPECT_FALSE(VerifyDocument(kDocument, SignedBy(2), Pem(0), Pem(1)));
}

TEST_F(SignatureTest, SecondKeyIsOnlyAFallback) {
  // An unusable first key must not prevent the second from accepting the document.
  EXPECT_TRUE(VerifyDocument(kDocument, SignedBy(1), "garbage", Pem(1)));
  EXPECT_FALSE(VerifyDocument(kDocument, SignedBy(0), "garbage", ""));
}

TEST_F(SignatureTest, AnyChangeToDocumentOrSignatureFails) {
  const std::string signature = SignedBy(0);
  const std::string pem = Pem(0);

  for (std::size_t at : {std::size_t{0}, kDocument.size() / 2, kDocument.size() - 1}) {
    std::string flipped(kDocument);
    flipped[at] ^= 0x01;
    EXPECT_FALSE(VerifySignature(flipped, signature, pem)) << "document byte " << at;
  }
  for (std::size_t at : {std::size_t{0}, signature.size() / 2, signature.size() - 1}) {
    std::string flipped = signature;
    flipped[at] ^= 0x01;
    EXPECT_FALSE(VerifySignature(kDocument, flipped, pem)) << "signature byte " << at;
  }

  std::string crlf;
  for (char c : kDocument) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_FALSE(VerifySignature(crlf, signature, pem)) << "CRLF";
  EXPECT_FALSE(VerifySignature(kDocument.substr(0, kDocument.size() - 1), signature, pem)) << "truncated document";
  EXPECT_FALSE(VerifySignature(std::string(kDocument) + "\n", signature, pem)) << "extra line feed";
}

TEST_F(SignatureTest, SignatureMustBeRawBytesOfFullLength) {
  const std::string signature = SignedBy(0);
  const std::string pem = Pem(0);
  struct Case {
    const char* name;
    std::string signature;
  } cases[] = {
      {"empty", ""},
      {"Base64", Base64(signature)},
      {"Base64 with line feed", Base64(signature) + "\n"},
      {"one byte short", signature.substr(1)},
      {"one byte long", signature + '\0'},
      {"leading zero byte", std::string(1, '\0') + signature.substr(1)},
  };
  for (const auto& c : cases) EXPECT_FALSE(VerifySignature(kDocument, c.signature, pem)) << c.name;
}

TEST_F(SignatureTest, OnlyRsaPublicKeysInPemAreAccepted) {
  const std::string pem = Pem(0);
  std::string damagedBody = pem;
  damagedBody[40] = damagedBody[40] == 'A' ? 'B' : 'A';
  const std::string signature = SignedBy(0);
  struct Case {
    const char* name;
    std::string key;
  } cases[] = {
      {"empty", ""},
      {"garbage", "this is not a key"},
      {"markers only", "-----BEGIN PUBLIC KEY-----\n-----END PUBLIC KEY-----\n"},
      {"damaged body", damagedBody},
      {"truncated", pem.substr(0, pem.size() / 2)},
      {"private key", PemOf(keys_[0].get(), true)},
  };
  for (const auto& c : cases) EXPECT_FALSE(VerifySignature(kDocument, signature, c.key)) << c.name;

  // An EC key that did sign the document is still refused.
  EXPECT_FALSE(VerifySignature(kDocument, Sign(kDocument, ecKey_.get()), PemOf(ecKey_.get())));
}

TEST_F(SignatureTest, EmptyDocumentCanBeSigned) {
  EXPECT_TRUE(VerifySignature("", SignedBy(2, ""), Pem(2)));
  EXPECT_FALSE(VerifySignature("", SignedBy(2), Pem(2)));
}

TEST_F(SignatureTest, ConcurrentChecksAreIndependent) {
  const std::string pem0 = Pem(0);
  const std::string pem1 = Pem(1);
  const std::string good = SignedBy(0);
  const std::string other = SignedBy(1);
  std::vector<int> wrong(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 25; ++i) {
        if (!VerifyDocument(kDocument, t % 2 ? other : good, pem0, pem1)) ++wrong[t];
        if (VerifySignature(kDocument, other, pem0)) ++wrong[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace vexmor
