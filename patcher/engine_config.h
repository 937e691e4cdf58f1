#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/system/shell.h"
#include "support/http/transfer_settings.h"

namespace vexmor {

// Everything the engine takes from its deployment and its surroundings, as one value, so that
// tests run it against their own servers, keys and folders.
struct EngineConfig {
  std::array<std::string, 3> updateUrls;  // HTTPS base addresses, no trailing slash, in order
  std::string publicKey1;                 // PEM SubjectPublicKeyInfo
  std::string publicKey2;
  TransferSettings transfer;
  std::filesystem::path launcherFolder;  // folder of the launcher and of the game
  std::filesystem::path modulePath;      // the running launcher executable
  // Arguments of a newly installed launcher started by the self-update.
  std::vector<std::string> relaunchArguments{"-multiwindow"};
  // Opens the announcement page in the browser.
  std::function<bool(const std::string&)> openLink = platform::OpenLink;
  // Told every status text the engine sets, on the engine's thread, for views that must not miss
  // one between two looks at the status (the headless mode's log); may be empty.
  std::function<void(const std::wstring&)> onStatusText;
};

}  // namespace vexmor
