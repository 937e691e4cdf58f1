#include "app/command_line.h"

namespace vexmor {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
  CommandLine line;
  std::string joined;
  bool yes = false;
  bool no = false;
  std::vector<std::string> unknown;
  for (const auto& argument : arguments) {
    joined += argument + ' ';
    if (argument == "--headless") {
      line.headless = true;
    } else if (argument == "--repair") {
      line.headlessOptions.repair = true;
    } else if (argument == "--yes") {
      yes = true;
    } else if (argument == "--no") {
      no = true;
    } else if (argument.find("-multiwindow") == std::string::npos) {
      unknown.push_back(argument);
    }
  }
  // The switch counts wherever its twelve characters stand, also inside a longer argument.
  line.multiWindow = joined.find("-multiwindow") != std::string::npos;
  if (line.headless && !unknown.empty()) {
    error = "unknown option: " + unknown.front();
    return std::nullopt;
  }
  if (yes && no) {
    error = "--yes and --no exclude each other";
    return std::nullopt;
  }
  if (!line.headless && (yes || no || line.headlessOptions.repair)) {
    error = "--repair, --yes and --no belong to --headless";
    return std::nullopt;
  }
  line.headlessOptions.answers = yes ? HeadlessAnswers::Yes : no ? HeadlessAnswers::No : HeadlessAnswers::Ask;
  return line;
}

}  // namespace vexmor
