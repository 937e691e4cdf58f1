#pragma once

#include <filesystem>

namespace vexmor::platform {

// Full path of the running executable; empty when the system cannot tell.
std::filesystem::path GetModulePath();

}  // namespace vexmor::platform
