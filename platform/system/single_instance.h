#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vexmor::platform {

// Marks the running launcher of a user; also the name a second start looks for.
inline constexpr std::string_view kInstanceName = "Launcher{910A5365-6AA9-4332-AC4B-65F133BD73A3}";

enum class InstanceStatus {
  // No other instance of this user holds the name: this process does now.
  First,
  // Another instance holds the name and has been asked to restore and raise its window.
  OtherRaised,
  // Another instance holds the name but does not answer: it has no window yet.
  OtherNotAnswering,
};

// The single-instance marker: an abstract local socket named after `name` and the user's id,
// bound by the first instance for its lifetime (the system frees it when the process ends, even
// after a crash). A later instance that cannot bind it connects and asks the holder to show its
// window.
class SingleInstance {
 public:
  explicit SingleInstance(std::string_view name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  InstanceStatus Status() const { return status_; }

  // Starts answering other instances once this one has a window: onRestore runs on a thread of
  // its own for every request, so it must only hand the request over (for example
  // PostRestoreRequest). An instance that does not hold the name (started beside another one on
  // purpose) takes it over as soon as its holder ends, so later starts find this window.
  void ServeRestoreRequests(std::function<void()> onRestore);

 private:
  // The socket, and the thread that answers on it.
  struct Marker;

  std::unique_ptr<Marker> marker_;
  InstanceStatus status_;
};

}  // namespace vexmor::platform
