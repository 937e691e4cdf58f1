#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tools/server/fault.h"
#include "tools/server/fault_rules.h"

namespace httplib {
class Request;
class Response;
class SSLServer;
}  // namespace httplib

namespace vexmor {

// One answered request, as the server's log reports it.
struct RequestLog {
  std::uint16_t port = 0;  // of the server that answered
  std::string method;
  std::string path;
  int status = 0;          // 0: no response was sent (a stall ended by the server stopping)
  std::int64_t bytes = 0;  // body bytes sent
};

struct HttpsServerOptions {
  std::filesystem::path certFile;  // PEM certificate (chain) of the server
  std::filesystem::path keyFile;   // PEM private key
  std::filesystem::path root;      // folder whose files are served
  std::string pathPrefix;          // "" or one path such as "/vexmor-bucket" under which root appears
  std::uint16_t port = 0;          // 0: any free port
  // Called once per request from the server's threads, possibly at the same time.
  std::function<void(const RequestLog&)> log;
};

// An HTTPS server on 127.0.0.1 that serves the files of a folder and injects faults by path.
// It listens from construction until Stop or destruction.
class HttpsServer {
 public:
  // Throws std::runtime_error when the certificate cannot be loaded or the port cannot be bound.
  explicit HttpsServer(HttpsServerOptions options);
  ~HttpsServer();
  HttpsServer(const HttpsServer&) = delete;
  HttpsServer& operator=(const HttpsServer&) = delete;

  std::uint16_t port() const { return port_; }
  // "https://127.0.0.1:<port>" followed by the path prefix.
  std::string BaseUrl() const;

  // Rules apply to requests that arrive after the change; see FaultRules for the patterns.
  void SetFault(const std::string& pattern, Fault fault) { faults_.Set(pattern, std::move(fault)); }
  void ClearFault(const std::string& pattern) { faults_.Clear(pattern); }
  void ClearFaults() { faults_.ClearAll(); }

  // Releases stalled requests, stops listening and waits for every request in progress.
  void Stop();

 private:
  void Handle(const httplib::Request& request, httplib::Response& response);
  void ServeFile(const httplib::Request& request, httplib::Response& response, const Fault* fault);
  void Log(const std::string& method, const std::string& path, int status, std::int64_t bytes) const;
  bool Stopping();
  void WaitUntilStopped();
  // Sleeps for the time unless the server stops first; true when it stops.
  bool SleepUnlessStopped(std::chrono::microseconds time);

  HttpsServerOptions options_;
  FaultRules faults_;
  std::unique_ptr<httplib::SSLServer> server_;
  std::uint16_t port_ = 0;
  std::thread listener_;

  std::mutex stopMutex_;
  std::condition_variable stopSignal_;
  bool stopping_ = false;
};

}  // namespace vexmor
