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

// Reads the arguments (without the program name); an error text for a contradictory or unknown
// option of the headless mode.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error);

}  // namespace vexmor
