#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vexmor::platform {

// Hands an address to the desktop's opener (xdg-open), detached. True when the opener started.
bool OpenLink(const std::string& url);

// Starts a program detached from this process, in its own session, inheriting the current folder.
// The checksum list carries no file modes, so a program that lacks its execute permission gets it
// first. True when the program itself was started (its image could be executed).
bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

}  // namespace vexmor::platform
