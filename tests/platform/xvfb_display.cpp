#include "tests/platform/xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace vexmor::test {

XvfbDisplay::XvfbDisplay(int width, int height) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // Xvfb writes its display number to this descriptor once it accepts clients.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::vector<std::string> args = {"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp"};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  std::string number;
  pollfd entry{ready[0], POLLIN, 0};
  char c;
  while (spawned == 0 && poll(&entry, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  if (spawned != 0 || number.empty()) {
    if (spawned == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    throw std::runtime_error("cannot start Xvfb");
  }
  name_ = ":" + number;
  setenv("DISPLAY", name_.c_str(), 1);
}

XvfbDisplay::~XvfbDisplay() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  unsetenv("DISPLAY");
}

bool RunXdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments).c_str()) == 0;
}

}  // namespace vexmor::test
