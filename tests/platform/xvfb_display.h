#pragma once

#include <string>

#include <sys/types.h>

namespace vexmor::test {

// An X server of the test's own (Xvfb) on a free display number; DISPLAY names it while it lives.
class XvfbDisplay {
 public:
  // Throws std::runtime_error when the server cannot be started. A window manager (openbox) is
  // needed only where minimising, raising or focus are checked.
  XvfbDisplay(int width, int height, bool withWindowManager = false);
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  pid_t windowManagerPid_ = -1;
  std::string name_;
};

// Runs xdotool with the given arguments against DISPLAY; true when it succeeded.
bool RunXdotool(const std::string& arguments);

}  // namespace vexmor::test
