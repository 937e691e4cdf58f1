#include "tests/testlib/running_copy.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

extern char** environ;

namespace vexmor::test {

RunningCopy::RunningCopy(const std::filesystem::path& image) {
  std::filesystem::create_directories(image.parent_path());
  std::filesystem::copy_file("/bin/sleep", image, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(image, std::filesystem::perms::owner_all);
  std::string path = image.string();
  std::string seconds = "120";
  char* argv[] = {path.data(), seconds.data(), nullptr};
  if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
    throw std::runtime_error("cannot start " + path);
  }
}

RunningCopy::~RunningCopy() {
  if (reaped_) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool RunningCopy::HasEnded() {
  if (!reaped_) reaped_ = waitpid(pid_, nullptr, WNOHANG) == pid_;
  return reaped_;
}

bool RunningCopy::Ends() {
  for (int i = 0; i < 500; ++i) {
    if (HasEnded()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace vexmor::test
