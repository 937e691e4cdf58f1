#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "support/http/transfer_result.h"
#include "support/http/transfer_settings.h"

namespace vexmor {

class SharePool;

// Shown each piece of a body as it arrives.
using BodyObserver = std::function<void(const char* data, std::size_t size)>;

// A document fetched into memory larger than this ends the transfer as failed, so that a server
// sending without end cannot exhaust the launcher's memory. The largest real document (the
// checksum list) is far below it. A power of two, so that the body's growth ends exactly at it.
inline constexpr std::size_t kMaxMemoryBodyBytes = std::size_t{64} << 20;

// The bound of a file transfer whose size is not known beforehand.
inline constexpr std::int64_t kUnboundedBody = std::numeric_limits<std::int64_t>::max();

// The server probe gives up after this long, whatever it has received.
inline constexpr std::chrono::seconds kProbeTimeout{5};
// The document whose status decides whether an update address is usable.
inline constexpr const char* kProbeDocument = "/cdn_status.txt";

// HTTPS GET transfers over libcurl. Each transfer has a handle of its own; the client keeps
// connections, TLS sessions and resolved names between transfers. Safe to use from several threads
// at once (the update worker and the news task).
class HttpClient {
 public:
  explicit HttpClient(TransferSettings settings);
  ~HttpClient();
  HttpClient(HttpClient&&) noexcept;
  HttpClient& operator=(HttpClient&&) noexcept;

  // Appends the body of url to body (also an error page, also when the transfer fails midway).
  // Redirects are followed. Stops when cancelFlag is set or nothing arrives for the stall timeout.
  TransferResult FetchToMemory(const std::string& url, std::string& body, const std::atomic<bool>* cancelFlag) const;

  // Writes the body of url to a file, creating its missing parent folders; the file keeps what
  // arrived when the transfer fails. currentBytes receives this transfer's byte count,
  // accumulatedBytes grows by what it adds; both may be null. A body that grows past maxBytes
  // fails, so that a server cannot fill the disk with a file whose size is known beforehand.
  // onBody, when given, is shown every piece of the body after it was written to the file, in
  // order, so the caller can digest or expand the file without reading it back.
  TransferResult FetchToFile(const std::string& url, const std::filesystem::path& path,
                             const std::atomic<bool>* cancelFlag, std::atomic<std::int64_t>* currentBytes,
                             std::atomic<std::int64_t>* accumulatedBytes, std::int64_t maxBytes = kUnboundedBody,
                             const BodyObserver& onBody = {}) const;

  // Whether baseUrl + kProbeDocument answers 200 (after redirects) within kProbeTimeout. Not cancellable.
  bool ProbeServer(const std::string& baseUrl) const;

 private:
  TransferSettings settings_;
  std::unique_ptr<SharePool> shares_;
};

}  // namespace vexmor
