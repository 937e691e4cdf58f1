#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game_start.h"
#include "patcher/engine_config.h"
#include "tests/testlib/temp_dir.h"
#include "ui/launcher_window.h"

namespace vexmor::test {

// What the frame tick asked of the world outside the window.
struct RecordedEffects {
  struct Start {
    std::filesystem::path program;
    std::vector<std::string> arguments;
  };
  std::vector<Start> starts;
  std::vector<std::string> links;
  std::vector<std::filesystem::path> closedGames;
  bool acceptStarts = true;

  ShellEffects Effects();
};

// An engine configuration whose update addresses refuse connections at once, so a run started in
// a test ends quickly with "no server".
EngineConfig UnreachableConfig(const std::filesystem::path& launcherFolder);

// A laid-out launcher window at height 540, without a system window, over an engine of the
// configuration above.
std::unique_ptr<LauncherWindow> MakeShellTestWindow(const std::filesystem::path& launcherFolder);

}  // namespace vexmor::test
