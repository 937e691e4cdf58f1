#include "tests/testlib/test_server.h"

#include "tests/testlib/temp_dir.h"

namespace vexmor::test {

std::filesystem::path TlsFixture(std::string_view name) {
  return std::filesystem::path(VEXMOR_TLS_FIXTURE_DIR) / name;
}

std::string TestCaPem() { return ReadFile(TlsFixture("test-ca.pem")); }

TransferSettings TestTransferSettings(std::chrono::milliseconds stallTimeout) {
  return TransferSettings{TestCaPem(), stallTimeout};
}

namespace {

const char* CertificateName(TestCertificate certificate) {
  switch (certificate) {
    case TestCertificate::Trusted: return "server";
    case TestCertificate::OtherHost: return "other-host";
    case TestCertificate::Untrusted: return "untrusted";
  }
  return "server";
}

}  // namespace

TestServer::TestServer(const std::filesystem::path& root, std::string pathPrefix, TestCertificate certificate) {
  const std::string name = CertificateName(certificate);
  HttpsServerOptions options;
  options.certFile = TlsFixture(name + ".pem");
  options.keyFile = TlsFixture(name + ".key");
  options.root = root;
  options.pathPrefix = std::move(pathPrefix);
  options.log = [this](const RequestLog& entry) {
    std::lock_guard lock(mutex_);
    requests_.push_back(entry);
  };
  server_ = std::make_unique<HttpsServer>(std::move(options));
}

std::vector<RequestLog> TestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> TestServer::RequestedPaths() const {
  std::vector<std::string> paths;
  for (const auto& entry : Requests()) paths.push_back(entry.path);
  return paths;
}

}  // namespace vexmor::test
