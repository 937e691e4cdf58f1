#pragma once

#include <cstddef>
#include <memory>
#include <string>

struct evp_md_ctx_st;

namespace vexmor {

// SHA-256 of bytes given in pieces, for data that is hashed while it passes by (a download on its
// way to disk) instead of being read back afterwards.
class Sha256Stream {
 public:
  Sha256Stream();
  ~Sha256Stream();
  Sha256Stream(const Sha256Stream&) = delete;
  Sha256Stream& operator=(const Sha256Stream&) = delete;

  void Update(const void* data, std::size_t size);
  // The digest of everything given, as 64 lower-case hexadecimal digits; empty when the hash could
  // not be computed. Ends the stream: further updates are ignored.
  std::string FinishHex();

 private:
  struct ContextFree {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, ContextFree> context_;
  bool failed_ = false;
};

}  // namespace vexmor
