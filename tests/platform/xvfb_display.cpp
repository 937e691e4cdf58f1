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

#include <X11/Xlib.h>

extern char** environ;

namespace vexmor::test {

namespace {

// Starts a program with its output discarded; -1 when it cannot be started.
pid_t SpawnQuiet(std::vector<std::string> args, int keepFd = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (keepFd >= 0) posix_spawn_file_actions_adddup2(&actions, keepFd, 3);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

// Whether a window manager took charge of the window: it sets WM_STATE.
bool IsManaged(Display* display, Window window) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, window, XInternAtom(display, "WM_STATE", False), 0, 2, False, AnyPropertyType,
                     &type, &format, &count, &after, &data);
  if (data) XFree(data);
  return count > 0;
}

// Whether a window manager handles map requests on the display: a probe window must become
// viewable. A request that reaches openbox while it is still starting can be lost, and a window
// whose map is lost would never show, so the probe asks again until it works.
bool WindowManagerMapsWindows(const std::string& displayName) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  const Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  bool viewable = false;
  for (int attempt = 0; attempt < 50 && !viewable; ++attempt) {
    XMapWindow(display, probe);
    XSync(display, False);
    for (int i = 0; i < 10 && !viewable; ++i) {
      usleep(20 * 1000);
      XWindowAttributes attributes;
      viewable = XGetWindowAttributes(display, probe, &attributes) && attributes.map_state == IsViewable &&
                 IsManaged(display, probe);
    }
  }
  XDestroyWindow(display, probe);
  XCloseDisplay(display);
  return viewable;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

}  // namespace

XvfbDisplay::XvfbDisplay(int width, int height, bool withWindowManager) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // Xvfb writes its display number to this descriptor once it accepts clients.
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  pid_ = SpawnQuiet({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp"}, ready[1]);
  close(ready[1]);
  std::string number;
  pollfd entry{ready[0], POLLIN, 0};
  char c;
  while (pid_ > 0 && poll(&entry, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  if (number.empty()) {
    Stop(pid_);
    throw std::runtime_error("cannot start Xvfb");
  }
  name_ = ":" + number;
  setenv("DISPLAY", name_.c_str(), 1);
  if (!withWindowManager) return;
  windowManagerPid_ = SpawnQuiet({"openbox", "--sm-disable"});
  if (windowManagerPid_ > 0 && WindowManagerMapsWindows(name_)) return;
  Stop(windowManagerPid_);
  Stop(pid_);
  throw std::runtime_error("cannot start openbox");
}

XvfbDisplay::~XvfbDisplay() {
  Stop(windowManagerPid_);
  Stop(pid_);
  unsetenv("DISPLAY");
}

bool RunXdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments).c_str()) == 0;
}

}  // namespace vexmor::test
