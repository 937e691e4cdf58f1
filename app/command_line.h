#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/headless_mode.h"

namespace vexmor {

struct CommandLine {
  bool multiWindow = false;  // "-multiwindow": open a window even while another launcher runs
  bool headless = false;
  HeadlessOptions headlessOptions;
};

// Reads the arguments (without the program name). The window ignores arguments it does not know,
// as launchers started by other tools get them; the headless mode refuses them, and contradictory
// options, with an error text.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error);

}  // namespace vexmor
