#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vexmor::platform {

struct ProcessEntry {
  int pid = 0;
  std::string name;  // executable name as the system's process list reports it
};

// A snapshot of the running processes; empty when the system's list cannot be read.
std::vector<ProcessEntry> ListProcesses();

// Full path of a process's executable image; none when the process has ended or cannot be queried.
std::optional<std::filesystem::path> ProcessImagePath(int pid);

// Ends a process at once. Returns without waiting for it to go away.
bool TerminateProcess(int pid);

}  // namespace vexmor::platform
