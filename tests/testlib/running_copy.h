#pragma once

#include <sys/types.h>

#include <filesystem>

namespace vexmor::test {

// A real process started from a copy of a small program (sleep) placed at `image`, so that it is
// listed under that name and path like a game process; killed at the end of the test.
class RunningCopy {
 public:
  explicit RunningCopy(const std::filesystem::path& image);
  ~RunningCopy();
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  // Ended (and reaped) by now.
  bool HasEnded();
  // Ends within a few seconds.
  bool Ends();

 private:
  pid_t pid_ = 0;
  bool reaped_ = false;
};

}  // namespace vexmor::test
