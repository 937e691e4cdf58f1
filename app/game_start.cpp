#include "app/game_start.h"

#include <system_error>

#include "platform/system/shell.h"
#include "support/paths/text.h"
#include "support/process/game_processes.h"

namespace vexmor {

ShellEffects SystemEffects() {
  return {platform::StartProgram, platform::OpenLink, CloseGameProcesses};
}

std::filesystem::path GamePath(const std::filesystem::path& launcherFolder) {
  return launcherFolder / kGameFolderName / kGameExeName;
}

std::optional<std::wstring> StartGame(const ShellEffects& effects, const std::filesystem::path& launcherFolder,
                                      bool lite) {
  const std::filesystem::path game = GamePath(launcherFolder);
  std::vector<std::string> arguments;
  if (lite) arguments.emplace_back(kLiteArgument);
  if (effects.startProgram(game, arguments)) return std::nullopt;
  std::error_code error;
  const bool present = std::filesystem::is_regular_file(game, error);
  return L"The game could not be started:\n" + AnsiToWide(game.string()) +
         (present ? L" cannot be run." : L" is missing.");
}

}  // namespace vexmor
