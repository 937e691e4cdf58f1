#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexmor {

inline constexpr std::string_view kGameExeName = "VexmorGame.exe";
inline constexpr std::string_view kGameFolderName = "Vexmor";
inline constexpr std::string_view kLiteArgument = "-INI=Veld_Lite.ini";

// What the frame tick does outside the window: starting the game, opening links in the browser,
// ending the game's processes. Tests record these instead of doing them.
struct ShellEffects {
  std::function<bool(const std::filesystem::path&, const std::vector<std::string>&)> startProgram;
  std::function<bool(const std::string&)> openLink;
  std::function<void(const std::filesystem::path&)> closeGameProcesses;
};

// The effects on this system: the platform's program start and link opener, the game process
// control.
ShellEffects SystemEffects();

// The game executable of the installation in launcherFolder.
std::filesystem::path GamePath(const std::filesystem::path& launcherFolder);

// Starts the game without arguments, or in lite mode with kLiteArgument. Empty when the system
// accepted the start, else the reason it did not, for the status line.
std::optional<std::wstring> StartGame(const ShellEffects& effects, const std::filesystem::path& launcherFolder,
                                      bool lite);

}  // namespace vexmor
