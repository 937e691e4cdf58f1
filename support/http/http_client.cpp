#include "support/http/http_client.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <mutex>
#include <system_error>

#include <curl/curl.h>

#include "support/http/curl_handles.h"
#include "support/http/share_pool.h"
#include "support/http/transfer_progress.h"
#include "support/paths/paths.h"

namespace vexmor {
namespace {

void InitCurlOnce() {
  // libcurl's global state must be set up before any handle exists and never concurrently.
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

constexpr std::size_t kFileBufferBytes = 64 * 1024;  // kept below malloc's threshold for mapping memory per allocation

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

struct MemoryTarget {
  std::string* body;
  std::size_t limit;  // body size at which the transfer is abandoned
};

size_t AppendToMemory(char* data, size_t size, size_t count, void* userdata) {
  auto* target = static_cast<MemoryTarget*>(userdata);
  const size_t bytes = size * count;
  // Returning less than was delivered makes libcurl end the transfer with a write error.
  if (bytes > target->limit - target->body->size()) return 0;
  // Capacities kept to powers of two (from 64 KiB) end exactly at the limit, itself one, so an
  // endless body holds at most the limit plus, while it moves, the half it grew from. Left to
  // the string, the doubling of odd capacities overshoots the limit by up to half of it again.
  std::string& body = *target->body;
  if (body.size() + bytes > body.capacity()) {
    body.reserve(std::max<std::size_t>(std::bit_ceil(body.size() + bytes), 64 * 1024));
  }
  body.append(data, bytes);
  return bytes;
}

struct FileTarget {
  std::FILE* file;
  std::int64_t room;  // bytes the body may still add
  const BodyObserver& onBody;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* userdata) {
  auto* target = static_cast<FileTarget*>(userdata);
  const auto bytes = static_cast<std::int64_t>(size * count);
  if (bytes > target->room) return 0;  // a write error for libcurl: the transfer fails
  target->room -= bytes;
  const size_t written = std::fwrite(data, size, count, target->file);
  if (target->onBody) target->onBody(data, written * size);
  return written;
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

int ReportProgress(void* clientp, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
  auto* progress = static_cast<TransferProgress*>(clientp);
  return progress->Report(received, TransferProgress::Clock::now()) ? 0 : 1;
}

// A file is refused when it is a directory or has no write permission at all. The permission bits
// are checked rather than trusting the open, which succeeds for root regardless of them.
bool CanWriteTarget(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return true;
  if (std::filesystem::is_directory(status)) return false;
  using std::filesystem::perms;
  return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
}

// Runs a prepared transfer; TransferOk only when it completed with a final status of 200.
TransferResult Perform(CURL* handle) {
  if (curl_easy_perform(handle) != CURLE_OK) return TransferResult::TransferFailed;
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  return status == 200 ? TransferResult::TransferOk : TransferResult::TransferFailed;
}

// Options every request of one client has in common.
void SetCommonOptions(CURL* handle, const std::string& url, CURLSH* share, const std::string& caBundle) {
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  if (share) curl_easy_setopt(handle, CURLOPT_SHARE, share);
  if (!caBundle.empty()) {
    curl_blob blob{const_cast<char*>(caBundle.data()), caBundle.size(), CURL_BLOB_COPY};
    curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &blob);
  }
}

void SetProgressOptions(CURL* handle, TransferProgress& progress) {
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &progress);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &ReportProgress);
}

}  // namespace

HttpClient::HttpClient(TransferSettings settings)
    : settings_(std::move(settings)), shares_(std::make_unique<SharePool>()) {
  InitCurlOnce();
}

HttpClient::~HttpClient() = default;
HttpClient::HttpClient(HttpClient&&) noexcept = default;
HttpClient& HttpClient::operator=(HttpClient&&) noexcept = default;

TransferResult HttpClient::FetchToMemory(const std::string& url, std::string& body,
                                         const std::atomic<bool>* cancelFlag) const {
  // The lease outlives the handle: the handle hands its connection back to the share on cleanup.
  const SharePool::Lease share = shares_->Borrow();
  const CurlEasyPtr handle(curl_easy_init());
  if (!handle) return TransferResult::TransferFailed;

  TransferProgress progress(cancelFlag, nullptr, nullptr, settings_.stallTimeout, TransferProgress::Clock::now());
  MemoryTarget target{&body, body.size() + kMaxMemoryBodyBytes};
  SetCommonOptions(handle.get(), url, share.get(), settings_.caBundle);
  curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, &AppendToMemory);
  curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &target);
  SetProgressOptions(handle.get(), progress);
  return Perform(handle.get());
}

TransferResult HttpClient::FetchToFile(const std::string& url, const std::filesystem::path& path,
                                       const std::atomic<bool>* cancelFlag, std::atomic<std::int64_t>* currentBytes,
                                       std::atomic<std::int64_t>* accumulatedBytes, std::int64_t maxBytes,
                                       const BodyObserver& onBody) const {
  const SharePool::Lease share = shares_->Borrow();
  const CurlEasyPtr handle(curl_easy_init());
  if (!handle) return TransferResult::TransferFailed;

  // A folder that cannot be made shows as the open failing below.
  CreateParentDirectories(path);
  if (!CanWriteTarget(path)) return TransferResult::TransferFileError;
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) return TransferResult::TransferFileError;
  // Fewer, larger writes for large files; a small file is written once, when it is closed.
  std::setvbuf(file.get(), nullptr, _IOFBF, kFileBufferBytes);

  TransferProgress progress(cancelFlag, currentBytes, accumulatedBytes, settings_.stallTimeout,
                            TransferProgress::Clock::now());
  SetCommonOptions(handle.get(), url, share.get(), settings_.caBundle);
  FileTarget target{file.get(), maxBytes, onBody};
  curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, &WriteToFile);
  curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &target);
  SetProgressOptions(handle.get(), progress);
  const TransferResult result = Perform(handle.get());
  // The last buffered bytes reach the file only now: a failure here is a short write too.
  if (std::fclose(file.release()) != 0) return TransferResult::TransferFailed;
  return result;
}

bool HttpClient::ProbeServer(const std::string& baseUrl) const {
  const SharePool::Lease share = shares_->Borrow();
  const CurlEasyPtr handle(curl_easy_init());
  if (!handle) return false;

  SetCommonOptions(handle.get(), baseUrl + kProbeDocument, share.get(), settings_.caBundle);
  curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, &Discard);
  curl_easy_setopt(handle.get(), CURLOPT_TIMEOUT_MS, static_cast<long>(std::chrono::milliseconds(kProbeTimeout).count()));
  curl_easy_setopt(handle.get(), CURLOPT_NOSIGNAL, 1L);
  return Perform(handle.get()) == TransferResult::TransferOk;
}

}  // namespace vexmor
