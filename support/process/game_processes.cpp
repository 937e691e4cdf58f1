#include "support/process/game_processes.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/system/process_list.h"

namespace vexmor {
namespace {

constexpr std::array<std::string_view, 2> kGameImageNames = {"Veld.bin", "VexmorGame.exe"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

bool IsGameImageName(std::string_view name) {
  return std::any_of(kGameImageNames.begin(), kGameImageNames.end(),
                     [&](std::string_view n) { return EqualsIgnoringCase(name, n); });
}

std::string GameFolderOf(const std::filesystem::path& launcherFolder) {
  return (launcherFolder / "Vexmor").string() + "/";
}

template <typename OnMatch>
void ForEachGameProcess(const std::filesystem::path& launcherFolder, OnMatch onMatch) {
  const std::string gameFolder = GameFolderOf(launcherFolder);
  for (const auto& process : platform::ListProcesses()) {
    if (!IsGameImageName(process.name)) continue;  // other processes are never opened
    const auto image = platform::ProcessImagePath(process.pid);
    if (!image || !IsGameProcess(process.name, image->string(), gameFolder)) continue;
    if (onMatch(process.pid)) return;
  }
}

}  // namespace

bool IsGameProcess(std::string_view name, std::string_view imagePath, std::string_view gameFolder) {
  if (!IsGameImageName(name)) return false;
  // The folder is the image path up to the last occurrence of the reported name (letter case
  // exact); without it, the whole path stands for the folder and never matches.
  const auto cut = imagePath.rfind(name);
  const std::string_view folder = cut == std::string_view::npos ? imagePath : imagePath.substr(0, cut);
  return EqualsIgnoringCase(folder, gameFolder);
}

bool IsGameRunning(const std::filesystem::path& launcherFolder) {
  bool found = false;
  ForEachGameProcess(launcherFolder, [&](int) { return found = true; });
  return found;
}

void CloseGameProcesses(const std::filesystem::path& launcherFolder) {
  ForEachGameProcess(launcherFolder, [](int pid) {
    platform::TerminateProcess(pid);
    return false;
  });
}

}  // namespace vexmor
