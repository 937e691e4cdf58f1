#include "support/gunzip/concurrent_gunzip.h"

#include <cerrno>
#include <system_error>

#include <sys/socket.h>
#include <unistd.h>

#include "support/gunzip/gunzip_stream.h"

namespace vexmor {
namespace {

// Room in the channel: how far the transfer may run ahead of the expansion.
constexpr int kChannelBytes = 1 << 20;

}  // namespace

ConcurrentGunzip::ConcurrentGunzip(const std::filesystem::path& target) : output_(target) {
  // A socket rather than a pipe: a write to it never raises SIGPIPE.
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
  ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &kChannelBytes, sizeof kChannelBytes);
  ::setsockopt(ends[0], SOL_SOCKET, SO_RCVBUF, &kChannelBytes, sizeof kChannelBytes);
  try {
    thread_ = std::thread([this, input = ends[0]] { Expand(input); });
  } catch (const std::system_error&) {
    ::close(ends[0]);
    ::close(ends[1]);
    return;
  }
  feedFd_ = ends[1];
}

ConcurrentGunzip::~ConcurrentGunzip() {
  if (feedFd_ >= 0) ::close(feedFd_);
  if (thread_.joinable()) thread_.join();
}

void ConcurrentGunzip::Feed(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (fed_ && size > 0) {
    const ssize_t sent = ::send(feedFd_, bytes, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) {
      fed_ = false;
      break;
    }
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

bool ConcurrentGunzip::Finish() {
  if (!thread_.joinable()) return false;
  ::close(feedFd_);
  feedFd_ = -1;
  thread_.join();
  return fed_ && expanded_;
}

bool ConcurrentGunzip::Commit() { return expanded_ && output_.Commit(); }

void ConcurrentGunzip::Expand(int input) {
  expanded_ = ExpandInto(input, kGunzipInputBufferBytes, output_);
  // After a failure, and after the data's end, the rest is taken unread, so that the transfer
  // ends normally and the download is still verified.
  char sink[65536];
  for (;;) {
    const ssize_t count = ::read(input, sink, sizeof sink);
    if (count == 0 || (count < 0 && errno != EINTR)) break;
  }
  ::close(input);
}

}  // namespace vexmor
