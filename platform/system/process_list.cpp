#include "platform/system/process_list.h"

#include <signal.h>

#include <charconv>
#include <fstream>
#include <system_error>

namespace vexmor::platform {

std::vector<ProcessEntry> ListProcesses() {
  std::vector<ProcessEntry> processes;
  std::error_code error;
  for (std::filesystem::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
    const std::string id = it->path().filename().string();
    int pid = 0;
    const auto [rest, parsed] = std::from_chars(id.data(), id.data() + id.size(), pid);
    if (parsed != std::errc() || rest != id.data() + id.size()) continue;
    std::ifstream comm(it->path() / "comm");
    std::string name;
    if (!std::getline(comm, name)) continue;  // ended between the listing and the read
    processes.push_back({pid, std::move(name)});
  }
  return processes;
}

std::optional<std::filesystem::path> ProcessImagePath(int pid) {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  if (error) return std::nullopt;
  return path;
}

bool TerminateProcess(int pid) { return kill(pid, SIGKILL) == 0; }

}  // namespace vexmor::platform
