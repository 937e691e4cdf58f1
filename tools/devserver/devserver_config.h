#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "tools/server/fault.h"

namespace vexmor::devserver {

// One of the three update addresses the demo build is made for.
struct AddressConfig {
  std::uint16_t port = 0;  // 0: any free port
  std::string pathPrefix;  // the bucket path of the second address
  std::filesystem::path tree;
  bool unreachable = false;  // nothing listens on the port
  std::vector<std::pair<std::string, Fault>> faults;  // by request path pattern (prefix included)
};

struct DevServerConfig {
  std::filesystem::path certFile;
  std::filesystem::path keyFile;
  std::array<AddressConfig, 3> addresses;
  bool help = false;
};

// The demo addresses https://127.0.0.1:18441, https://127.0.0.1:18442/vexmor-bucket and
// https://127.0.0.1:18443 with the demo certificate from demoTlsDir; no tree yet.
DevServerConfig DemoDefaults(const std::filesystem::path& demoTlsDir);

// Applies the command line to config. Returns what is wrong with it, empty when nothing is.
std::string ParseArguments(std::span<const std::string> args, DevServerConfig& config);

extern const char kUsage[];

}  // namespace vexmor::devserver
