#include <iostream>
#include <string>
#include <vector>

#include "app/built_in_engine_config.h"
#include "app/command_line.h"
#include "app/headless_mode.h"

int main(int argc, char** argv) {
  std::string error;
  const auto line = vexmor::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!line) {
    std::cerr << "vexmor-launcher: " << error << "\nusage: vexmor-launcher [-multiwindow] [--headless [--repair] [--yes | --no]]\n";
    return 2;
  }
  if (line->headless) return vexmor::RunHeadless(line->headlessOptions, vexmor::BuiltInEngineConfig());
  std::cerr << "vexmor-launcher: the window is not available in this build yet; use --headless\n";
  return 0;
}
