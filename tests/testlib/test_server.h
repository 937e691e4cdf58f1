#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "support/http/transfer_settings.h"
#include "tools/server/https_server.h"

namespace vexmor::test {

// The certificates a test server can present (tests/fixtures/tls).
enum class TestCertificate {
  Trusted,    // for 127.0.0.1 and localhost, issued by the test authority
  OtherHost,  // issued by the test authority for another host name
  Untrusted,  // for 127.0.0.1 and localhost, issued by an authority the tests do not trust
};

// A file of tests/fixtures/tls.
std::filesystem::path TlsFixture(std::string_view name);
// The test authority's certificate, as PEM text.
std::string TestCaPem();
// Transfer settings that trust the test authority only.
TransferSettings TestTransferSettings(std::chrono::milliseconds stallTimeout = std::chrono::milliseconds(kStallTimeoutMs));

// An HTTPS server on an ephemeral port of 127.0.0.1 that serves root (below pathPrefix) and
// records every request it answers.
class TestServer {
 public:
  explicit TestServer(const std::filesystem::path& root, std::string pathPrefix = "",
                      TestCertificate certificate = TestCertificate::Trusted);

  HttpsServer& server() { return *server_; }
  // "https://127.0.0.1:<port>" + pathPrefix, and that followed by a path.
  std::string BaseUrl() const { return server_->BaseUrl(); }
  std::string Url(std::string_view path) const { return BaseUrl() + std::string(path); }

  // Patterns are whole request paths, the path prefix included.
  void SetFault(const std::string& pattern, Fault fault) { server_->SetFault(pattern, std::move(fault)); }
  void ClearFaults() { server_->ClearFaults(); }
  void Stop() { server_->Stop(); }

  // The requests answered so far, in the order they ended.
  std::vector<RequestLog> Requests() const;
  std::vector<std::string> RequestedPaths() const;

 private:
  mutable std::mutex mutex_;
  std::vector<RequestLog> requests_;
  std::unique_ptr<HttpsServer> server_;  // last: it stops before the log goes
};

}  // namespace vexmor::test
