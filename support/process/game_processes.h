#pragma once

#include <filesystem>
#include <string_view>

namespace vexmor {

// Whether a process of the game images ("Veld.bin", "VexmorGame.exe", any letter case) runs from
// this installation's game folder: the launcher folder's "Vexmor" subfolder itself, not a
// subfolder of it and not another copy of the game.
bool IsGameRunning(const std::filesystem::path& launcherFolder);

// Terminates every such process; does not wait for them to end. Failures are silent: a process
// that cannot be queried or ended is left alone, and the update reports the files it holds.
void CloseGameProcesses(const std::filesystem::path& launcherFolder);

// The matching rule for one process: its reported name, its image path and the game folder.
bool IsGameProcess(std::string_view name, std::string_view imagePath, std::string_view gameFolder);

}  // namespace vexmor
