#include "platform/system/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>
#include <utility>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vexmor::platform {
namespace {

constexpr std::string_view kRestoreRequest = "restore\n";
constexpr std::string_view kRestoreDone = "done\n";
// The holder answers from a thread of its own, at once; waiting longer only delays a start.
constexpr int kAnswerTimeoutMs = 3000;
// A client that connects and says nothing must not keep the next one waiting for long.
constexpr int kRequestTimeoutMs = 1000;
// How often an instance that does not hold the name tries to take it over.
constexpr int kTakeOverIntervalMs = 250;

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int Get() const { return fd_; }
  bool IsValid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

struct SocketAddress {
  sockaddr_un address{};
  socklen_t length = 0;
};

// An abstract address: a leading zero byte, then the name; it lives only as long as a socket
// is bound to it and is never a file.
SocketAddress AbstractAddress(const std::string& name) {
  SocketAddress result;
  result.address.sun_family = AF_UNIX;
  const std::size_t size = std::min(name.size(), sizeof(result.address.sun_path) - 1);
  std::memcpy(result.address.sun_path + 1, name.data(), size);
  result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
  return result;
}

Fd NewSocket() { return Fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)); }

// A socket bound to the name; none, with the reason in error, when the name is taken or no
// socket can be had.
Fd BindName(const SocketAddress& address, int& error) {
  Fd fd = NewSocket();
  if (fd.IsValid() &&
      bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0) {
    return fd;
  }
  error = errno;
  return Fd();
}

// Whether fd becomes ready for events within the timeout (-1: no limit).
bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd entry{fd, events, 0};
  int ready;
  do {
    ready = poll(&entry, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

// Reads a line of at most a few bytes, as both ends of the exchange send.
std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  char c;
  while (line.size() < 16 && WaitFor(fd, POLLIN, timeoutMs) && read(fd, &c, 1) == 1) {
    line += c;
    if (c == '\n') break;
  }
  return line;
}

bool WriteAll(int fd, std::string_view bytes) {
  return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

enum class Answer { Done, Refused, Silent };

Answer AskHolderToRestore(const SocketAddress& address) {
  Fd fd = NewSocket();
  if (!fd.IsValid()) return Answer::Silent;
  if (connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) != 0) {
    // Bound but not listening (no window yet), or no longer bound at all.
    return errno == ECONNREFUSED ? Answer::Refused : Answer::Silent;
  }
  if (!WriteAll(fd.Get(), kRestoreRequest)) return Answer::Silent;
  return ReadLine(fd.Get(), kAnswerTimeoutMs) == kRestoreDone ? Answer::Done : Answer::Silent;
}

}  // namespace

struct SingleInstance::Marker {
  SocketAddress address;
  Fd bound;  // valid while this process holds the name
  Fd stop;   // an eventfd that ends the thread
  std::thread thread;

  ~Marker() {
    if (thread.joinable()) {
      const std::uint64_t one = 1;
      // The write to a fresh eventfd cannot fail; the join would otherwise wait forever.
      [[maybe_unused]] ssize_t written = write(stop.Get(), &one, sizeof one);
      thread.join();
    }
  }

  // Lets later instances connect. Cannot fail on a bound local socket short of a broken
  // system; this window then merely goes unfound.
  bool Listen() const { return listen(bound.Get(), 8) == 0; }

  // True when the stop was signalled within the timeout.
  bool StopRequested(int timeoutMs) const { return WaitFor(stop.Get(), POLLIN, timeoutMs); }

  void Serve(const std::function<void()>& onRestore) {
    int error = 0;
    while (!bound.IsValid()) {
      if (StopRequested(kTakeOverIntervalMs)) return;
      bound = BindName(address, error);
      if (bound.IsValid() && !Listen()) return;
    }
    for (;;) {
      pollfd entries[2] = {{bound.Get(), POLLIN, 0}, {stop.Get(), POLLIN, 0}};
      if (poll(entries, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (entries[1].revents != 0) return;
      Fd client(accept4(bound.Get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!client.IsValid()) {
        // Out of descriptors the connection stays pending: pause instead of spinning on it.
        if (errno != EINTR && errno != ECONNABORTED && StopRequested(kTakeOverIntervalMs)) return;
        continue;
      }
      if (ReadLine(client.Get(), kRequestTimeoutMs) != kRestoreRequest) continue;
      onRestore();
      WriteAll(client.Get(), kRestoreDone);
    }
  }
};

SingleInstance::SingleInstance(std::string_view name) : marker_(std::make_unique<Marker>()) {
  // Abstract names are shared by all users of the machine; each user has a launcher of their own.
  marker_->address = AbstractAddress(std::string(name) + "." + std::to_string(getuid()));
  int error = 0;
  marker_->bound = BindName(marker_->address, error);
  // Any failure but a taken name (no descriptors left) leaves the process without a marker; it
  // runs as the first instance rather than refusing to start.
  if (marker_->bound.IsValid() || error != EADDRINUSE) {
    status_ = InstanceStatus::First;
    return;
  }
  switch (AskHolderToRestore(marker_->address)) {
    case Answer::Done:
      status_ = InstanceStatus::OtherRaised;
      return;
    case Answer::Refused:
      // Either the holder has no window yet, or it has just ended and the name is free again.
      marker_->bound = BindName(marker_->address, error);
      status_ = marker_->bound.IsValid() ? InstanceStatus::First : InstanceStatus::OtherNotAnswering;
      return;
    case Answer::Silent:
      status_ = InstanceStatus::OtherNotAnswering;
      return;
  }
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::ServeRestoreRequests(std::function<void()> onRestore) {
  if (marker_->thread.joinable()) return;
  // Listening starts here rather than on the thread, so a start that follows this call is
  // answered.
  if (marker_->bound.IsValid() && !marker_->Listen()) return;
  marker_->stop = Fd(eventfd(0, EFD_CLOEXEC));
  if (!marker_->stop.IsValid()) return;  // out of descriptors: this window simply cannot be found
  marker_->thread = std::thread([marker = marker_.get(), onRestore = std::move(onRestore)] {
    marker->Serve(onRestore);
  });
}

}  // namespace vexmor::platform
