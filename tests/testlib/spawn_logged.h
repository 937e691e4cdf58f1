#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vexmor::test {

// Starts a program (arguments[0], a path) with no input and its output and errors appended to a
// file; -1 when it cannot be started.
pid_t SpawnLogged(std::vector<std::string> arguments, const std::filesystem::path& output);

}  // namespace vexmor::test
