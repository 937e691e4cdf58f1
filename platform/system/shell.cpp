#include "platform/system/shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <system_error>
#include <thread>

extern char** environ;

namespace vexmor::platform {
namespace {

// Starts argv[0] (searched in PATH when `search` is set) in a new session and reaps it from a
// detached thread once it ends, so no zombie stays behind while the launcher runs on.
bool SpawnDetached(const std::vector<std::string>& argv, bool search) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return false;
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  // glibc reports a failed exec of the child as the result of posix_spawn.
  const int error = search ? posix_spawnp(&pid, args[0], nullptr, &attributes, args.data(), environ)
                           : posix_spawn(&pid, args[0], nullptr, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return false;
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
}

void AddExecutePermission(const std::filesystem::path& program) {
  namespace fs = std::filesystem;
  std::error_code error;
  const auto perms = fs::status(program, error).permissions();
  if (error || (perms & fs::perms::owner_exec) != fs::perms::none) return;
  // A failure shows up as a refused start right after.
  fs::permissions(program, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, error);
}

}  // namespace

bool OpenLink(const std::string& url) {
  if (url.empty()) return false;
  return SpawnDetached({"xdg-open", url}, true);
}

bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
  AddExecutePermission(program);
  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return SpawnDetached(argv, false);
}

}  // namespace vexmor::platform
