#include "app/command_line.h"

namespace vexmor {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
  CommandLine line;
  bool yes = false;
  bool no = false;
  for (const auto& argument : arguments) {
    if (argument == "-multiwindow") {
      line.multiWindow = true;
    } else if (argument == "--headless") {
      line.headless = true;
    } else if (argument == "--repair") {
      line.headlessOptions.repair = true;
    } else if (argument == "--yes") {
      yes = true;
    } else if (argument == "--no") {
      no = true;
    } else {
      error = "unknown option: " + argument;
      return std::nullopt;
    }
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
