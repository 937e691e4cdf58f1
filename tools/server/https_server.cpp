#include "tools/server/https_server.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <stdexcept>

#include <httplib.h>

#include "tools/server/static_files.h"

namespace vexmor {
namespace {

using namespace std::chrono_literals;

// Each connection and each stalled or dripping request holds one thread.
constexpr std::size_t kThreads = 16;
// A client may fetch a whole game tree over one connection.
constexpr std::size_t kKeepAliveRequests = 100000;
// An idle client connection holds a thread this long; stopping waits for it.
constexpr time_t kKeepAliveSeconds = 1;
constexpr std::size_t kEndlessBlockBytes = 64 * 1024;
constexpr const char* kBinaryType = "application/octet-stream";
constexpr const char* kNotFoundPage = "<html><body><h1>404 Not Found</h1></body></html>\n";

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  std::string content(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(content.data(), static_cast<std::streamsize>(content.size()))) return std::nullopt;
  return content;
}

// A body streamed by a content provider, with the count of bytes that went out.
struct Delivery {
  std::string body;
  std::int64_t sent = 0;  // touched only by the thread serving the request

  bool Send(std::size_t offset, std::size_t count, httplib::DataSink& sink) {
    if (!sink.write(body.data() + offset, count)) return false;
    sent += static_cast<std::int64_t>(count);
    return true;
  }
};

}  // namespace

#if defined(__SANITIZE_THREAD__)
// The HTTP library is a prebuilt, uninstrumented shared library: ThreadSanitizer sees its string
// copies and compares through its interceptors but not the synchronisation around them, and reports
// races between connections that do not share data. Reports with a frame inside that library are
// dropped; its calls are still seen, so that a socket it closes is known to be closed when another
// thread's file reuses the descriptor. Everything of ours stays checked.
extern "C" const char* __tsan_default_suppressions() { return "race:libcpp-httplib.so\n"; }
#endif

HttpsServer::HttpsServer(HttpsServerOptions options)
    : options_(std::move(options)),
      server_(std::make_unique<httplib::SSLServer>(options_.certFile.c_str(), options_.keyFile.c_str())) {
  if (!server_->is_valid()) {
    throw std::runtime_error("cannot load the certificate " + options_.certFile.string() + " with the key " +
                             options_.keyFile.string());
  }
  server_->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  // Headers and body go out in separate writes; with Nagle the body waits for the client's
  // delayed acknowledgement (40 ms per response).
  server_->set_tcp_nodelay(true);
  // Only SO_REUSEADDR: the library's default also sets SO_REUSEPORT, which lets a second server
  // bind a port that is in use and share its connections unnoticed.
  server_->set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  });
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response);
  });

  const int port = options_.port == 0 ? server_->bind_to_any_port("127.0.0.1")
                   : server_->bind_to_port("127.0.0.1", options_.port) ? options_.port
                                                                       : -1;
  if (port <= 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options_.port));
  port_ = static_cast<std::uint16_t>(port);
  listener_ = std::thread([this] { server_->listen_after_bind(); });
  // The socket accepts connections already; stopping needs the accept loop to have started.
  while (!server_->is_running()) std::this_thread::sleep_for(1ms);
}

HttpsServer::~HttpsServer() { Stop(); }

std::string HttpsServer::BaseUrl() const {
  return "https://127.0.0.1:" + std::to_string(port_) + options_.pathPrefix;
}

void HttpsServer::Stop() {
  {
    std::lock_guard lock(stopMutex_);
    stopping_ = true;
  }
  stopSignal_.notify_all();
  if (listener_.joinable()) {
    server_->stop();
    listener_.join();
  }
}

bool HttpsServer::Stopping() {
  std::lock_guard lock(stopMutex_);
  return stopping_;
}

void HttpsServer::WaitUntilStopped() {
  std::unique_lock lock(stopMutex_);
  stopSignal_.wait(lock, [this] { return stopping_; });
}

bool HttpsServer::SleepUnlessStopped(std::chrono::microseconds time) {
  std::unique_lock lock(stopMutex_);
  return stopSignal_.wait_for(lock, time, [this] { return stopping_; });
}

void HttpsServer::Log(const std::string& method, const std::string& path, int status, std::int64_t bytes) const {
  if (options_.log) options_.log(RequestLog{port_, method, path, status, bytes});
}

void HttpsServer::Handle(const httplib::Request& request, httplib::Response& response) {
  const std::optional<Fault> fault = faults_.Find(request.path);
  if (!fault) return ServeFile(request, response, nullptr);

  if (const auto* status = std::get_if<RespondStatus>(&*fault)) {
    response.status = status->status;
    response.set_content(status->body, "text/html");
    return Log(request.method, request.path, status->status, static_cast<std::int64_t>(status->body.size()));
  }
  if (const auto* redirect = std::get_if<Redirect>(&*fault)) {
    response.set_redirect(redirect->location, redirect->status);
    return Log(request.method, request.path, redirect->status, 0);
  }
  if (std::holds_alternative<StallBeforeHeaders>(*fault)) {
    WaitUntilStopped();
    response.status = 503;
    return Log(request.method, request.path, 503, 0);
  }
  if (std::holds_alternative<Endless>(*fault)) {
    auto delivery = std::make_shared<Delivery>(Delivery{std::string(kEndlessBlockBytes, '\0')});
    response.set_chunked_content_provider(
        kBinaryType,
        [this, delivery](std::size_t, httplib::DataSink& sink) {
          return !Stopping() && delivery->Send(0, delivery->body.size(), sink);
        },
        [this, delivery, method = request.method, path = request.path](bool) {
          Log(method, path, 200, delivery->sent);
        });
    return;
  }
  ServeFile(request, response, &*fault);
}

// Serves the file a request names, misbehaving as the fault says while sending it.
void HttpsServer::ServeFile(const httplib::Request& request, httplib::Response& response, const Fault* fault) {
  const auto file = FileForRequest(options_.root, options_.pathPrefix, request.path);
  std::optional<std::string> content = file ? ReadWholeFile(*file) : std::nullopt;
  if (!content) {
    response.status = 404;
    response.set_content(kNotFoundPage, "text/html");
    return Log(request.method, request.path, 404, static_cast<std::int64_t>(std::string_view(kNotFoundPage).size()));
  }
  const auto size = static_cast<std::int64_t>(content->size());
  if (const auto* corrupt = fault ? std::get_if<CorruptByte>(fault) : nullptr) {
    if (corrupt->offset >= 0 && corrupt->offset < size) (*content)[corrupt->offset] ^= '\xFF';
    fault = nullptr;
  }
  if (!fault) {
    response.set_content(std::move(*content), kBinaryType);
    return Log(request.method, request.path, 200, size);
  }

  auto delivery = std::make_shared<Delivery>(Delivery{std::move(*content)});
  httplib::ContentProvider provider;
  if (std::holds_alternative<StallAfterHeaders>(*fault)) {
    provider = [this](std::size_t, std::size_t, httplib::DataSink&) {
      WaitUntilStopped();
      return false;
    };
  } else if (const auto* drop = std::get_if<DropAfter>(fault)) {
    const auto limit = static_cast<std::size_t>(std::max<std::int64_t>(drop->bodyBytes, 0));
    provider = [delivery, limit](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
      // Failing the provider makes the server close the connection.
      return offset < limit && delivery->Send(offset, std::min(length, limit - offset), sink);
    };
  } else if (const auto* drip = std::get_if<Drip>(fault)) {
    const std::int64_t rate = std::max<std::int64_t>(drip->bytesPerSecond, 1);
    const std::int64_t step = std::max<std::int64_t>(rate / 10, 1);
    const std::chrono::microseconds interval(step * 1000000 / rate);
    provider = [this, delivery, step, interval](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
      return !SleepUnlessStopped(interval) &&
             delivery->Send(offset, std::min(length, static_cast<std::size_t>(step)), sink);
    };
  }
  response.set_content_provider(static_cast<std::size_t>(size), kBinaryType, std::move(provider),
                                [this, delivery, method = request.method, path = request.path](bool) {
                                  Log(method, path, 200, delivery->sent);
                                });
}

}  // namespace vexmor
