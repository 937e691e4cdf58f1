#include "platform/system/single_instance.h"

#include <sys/socket.h>
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

}  // namespace
}  // namespace vexmor::platform
