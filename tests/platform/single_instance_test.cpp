#include "platform/system/single_instance.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace vexmor::platform {
namespace {

// A name of this test alone, so that a running launcher or a parallel test run never answers.
std::string TestName() {
  static int counter = 0;
  return "VexmorTest{" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "}";
}

TEST(SingleInstance, FirstHoldsTheNameUntilItEnds) {
  const std::string name = TestName();
  {
    SingleInstance first(name);
    EXPECT_EQ(first.Status(), InstanceStatus::First);
    // Without a window the holder does not answer.
    SingleInstance second(name);
    EXPECT_EQ(second.Status(), InstanceStatus::OtherNotAnswering);
  }
  SingleInstance next(name);
  EXPECT_EQ(next.Status(), InstanceStatus::First);
}

TEST(SingleInstance, LaterStartsAskTheHolderToRestore) {
  const std::string name = TestName();
  SingleInstance first(name);
  std::atomic<int> requests = 0;
  first.ServeRestoreRequests([&] { ++requests; });
  for (int i = 1; i <= 2; ++i) {
    SingleInstance later(name);
    EXPECT_EQ(later.Status(), InstanceStatus::OtherRaised);
    EXPECT_EQ(requests, i);
  }
}

TEST(SingleInstance, NamesOfOtherProgramsDoNotMeet) {
  SingleInstance first(TestName());
  SingleInstance other(TestName());
  EXPECT_EQ(first.Status(), InstanceStatus::First);
  EXPECT_EQ(other.Status(), InstanceStatus::First);
}

TEST(SingleInstance, SilentClientDoesNotBlockTheHolder) {
  // A client that connects and never speaks: the next start must still be answered.
  const std::string held = TestName();
  SingleInstance holder(held);
  std::atomic<int> requests = 0;
  holder.ServeRestoreRequests([&] { ++requests; });
  const int silent = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string abstractName = held + "." + std::to_string(getuid());
  std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
  ASSERT_EQ(connect(silent, reinterpret_cast<sockaddr*>(&address),
                    static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size())),
            0);
  SingleInstance later(held);
  EXPECT_EQ(later.Status(), InstanceStatus::OtherRaised);
  EXPECT_EQ(requests, 1);
  close(silent);
}

TEST(SingleInstance, InstanceStartedBesideTakesTheNameOverWhenTheHolderEnds) {
  const std::string name = TestName();
  auto first = std::make_unique<SingleInstance>(name);
  first->ServeRestoreRequests([] {});
  SingleInstance beside(name);
  ASSERT_EQ(beside.Status(), InstanceStatus::OtherRaised);
  std::atomic<int> requests = 0;
  beside.ServeRestoreRequests([&] { ++requests; });

  first.reset();
  // The takeover is periodic; until it happens a start would find the name free, so wait for it
  // without binding the name.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  InstanceStatus status = InstanceStatus::First;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    SingleInstance later(name);
    status = later.Status();
    if (status != InstanceStatus::First) break;
  }
  EXPECT_EQ(status, InstanceStatus::OtherRaised);
  EXPECT_EQ(requests, 1);
}

// A forked process that runs `body` and then waits to be killed; killed with its owner.
class ChildProcess {
 public:
  template <typename Body>
  explicit ChildProcess(Body body) : pid_(fork()) {
    if (pid_ == 0) {
      body();
      for (;;) pause();
    }
  }
  ~ChildProcess() { Kill(); }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_;
};

// One byte through a pipe, with a limit on the wait.
char ReadByte(int fd) {
  pollfd entry{fd, POLLIN, 0};
  char byte = 0;
  if (poll(&entry, 1, 10000) != 1 || read(fd, &byte, 1) != 1) return 0;
  return byte;
}

TEST(SingleInstance, AcrossProcesses) {
  const std::string name = TestName();
  int ready[2];
  int requests[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(requests), 0);
  {
    // A holder that has no window yet, then dies without any cleanup of its own.
    ChildProcess holder([&] {
      static SingleInstance instance(name);
      const char first = instance.Status() == InstanceStatus::First ? 'f' : '-';
      [[maybe_unused]] ssize_t written = write(ready[1], &first, 1);
    });
    ASSERT_EQ(ReadByte(ready[0]), 'f');
    EXPECT_EQ(SingleInstance(name).Status(), InstanceStatus::OtherNotAnswering);
    holder.Kill();
    EXPECT_EQ(SingleInstance(name).Status(), InstanceStatus::First);
  }
  {
    ChildProcess holder([&] {
      static SingleInstance instance(name);
      instance.ServeRestoreRequests([&] { [[maybe_unused]] ssize_t written = write(requests[1], "r", 1); });
      [[maybe_unused]] ssize_t written = write(ready[1], "s", 1);
    });
    ASSERT_EQ(ReadByte(ready[0]), 's');
    EXPECT_EQ(SingleInstance(name).Status(), InstanceStatus::OtherRaised);
    EXPECT_EQ(ReadByte(requests[0]), 'r');
  }
  for (int fd : {ready[0], ready[1], requests[0], requests[1]}) close(fd);
}

}  // namespace
}  // namespace vexmor::platform
