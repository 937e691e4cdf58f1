#pragma once

#include <span>
#include <string>

namespace vexmor::publish {

// Each command takes the arguments after its name and returns the process exit status:
// 0 success, 1 failure, 2 wrong arguments. Errors are written to stderr.
int RunKeygen(std::span<const std::string> args);
int RunBuild(std::span<const std::string> args);
int RunVerify(std::span<const std::string> args);

}  // namespace vexmor::publish
