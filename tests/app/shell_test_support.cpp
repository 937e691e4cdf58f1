#include "tests/app/shell_test_support.h"

#include "patcher/patcher.h"
#include "tests/ui/test_window.h"

namespace vexmor::test {

ShellEffects RecordedEffects::Effects() {
  return {[this](const std::filesystem::path& program, const std::vector<std::string>& arguments) {
            starts.push_back({program, arguments});
            return acceptStarts;
          },
          [this](const std::string& url) {
            links.push_back(url);
            return true;
          },
          [this](const std::filesystem::path& folder) { closedGames.push_back(folder); }};
}

EngineConfig UnreachableConfig(const std::filesystem::path& launcherFolder) {
  EngineConfig config;
  // Port 1 on loopback: nothing listens, the connection is refused at once.
  config.updateUrls = {"https://127.0.0.1:1", "https://127.0.0.1:1", "https://127.0.0.1:1"};
  config.launcherFolder = launcherFolder;
  config.modulePath = launcherFolder / "vexmor-launcher";
  return config;
}

std::unique_ptr<LauncherWindow> MakeShellTestWindow(const std::filesystem::path& launcherFolder) {
  auto window = MakeLaidOutWindow(540);
  window->patcher = std::make_unique<Patcher>(UnreachableConfig(launcherFolder));
  return window;
}

}  // namespace vexmor::test
