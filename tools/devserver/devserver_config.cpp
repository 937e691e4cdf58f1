#include "tools/devserver/devserver_config.h"

#include <charconv>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>

namespace vexmor::devserver {

const char kUsage[] =
    "usage: vexmor-devserver --tree [N:]DIR [options]\n"
    "\n"
    "Serves update trees over HTTPS at the demo build's three addresses:\n"
    "  1  https://127.0.0.1:18441\n"
    "  2  https://127.0.0.1:18442/vexmor-bucket\n"
    "  3  https://127.0.0.1:18443\n"
    "and logs one line per request: address, method, path, status, body bytes sent.\n"
    "Runs until SIGINT (Ctrl+C) or SIGTERM.\n"
    "\n"
    "A value written [N:]VALUE applies to address N (1, 2 or 3) only, else to all three.\n"
    "PATH is below the address (\"/new_launcher/checksums.txt\"); a PATH ending in '*' is a prefix.\n"
    "  --tree [N:]DIR             folder to serve (required for every address that listens)\n"
    "  --cert FILE --key FILE     server certificate and key (default: demo/tls/demo-server.pem, .key)\n"
    "  --port N:PORT              listen on another port (0: any free port, printed at start)\n"
    "faults:\n"
    "  --unreachable N            do not listen at address N\n"
    "  --status [N:]PATH=CODE     answer CODE (404, 503, ...) with a short page\n"
    "  --redirect [N:]PATH=TARGET answer 302 to TARGET (a path below the same address)\n"
    "  --stall [N:]PATH           accept the request and send nothing\n"
    "  --stall-body [N:]PATH      send the headers, then no body byte\n"
    "  --drop [N:]PATH=BYTES      send BYTES of the body, then close the connection\n"
    "  --slow [N:]PATH=RATE       send the body at RATE bytes per second\n"
    "  --corrupt [N:]PATH=OFFSET  send the file with the byte at OFFSET inverted\n"
    "exit status: 0 stopped by a signal; 1 cannot serve (port taken, missing tree or certificate);\n"
    "2 wrong arguments\n";

namespace {

// The address a value names with its "N:" head (0-based), and the rest of the value.
std::pair<std::optional<int>, std::string_view> SplitAddress(std::string_view value) {
  if (value.size() >= 2 && value[0] >= '1' && value[0] <= '3' && value[1] == ':') {
    return {value[0] - '1', value.substr(2)};
  }
  return {std::nullopt, value};
}

std::optional<std::int64_t> ParseNumber(std::string_view text, std::int64_t max) {
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 0 || number > max) {
    return std::nullopt;
  }
  return number;
}

struct FaultOption {
  std::string_view name;
  bool takesArgument;
  // The fault for the text after '='; nullopt when that text is wrong.
  std::function<std::optional<Fault>(std::string_view)> make;
};

const FaultOption kFaultOptions[] = {
    {"--status", true,
     [](std::string_view code) -> std::optional<Fault> {
       const auto status = ParseNumber(code, 599);
       if (!status || *status < 100) return std::nullopt;
       return RespondStatus{static_cast<int>(*status), "<html><body>" + std::string(code) + "</body></html>\n"};
     }},
    {"--redirect", true,
     [](std::string_view target) -> std::optional<Fault> {
       if (!target.starts_with('/')) return std::nullopt;
       return Redirect{302, std::string(target)};
     }},
    {"--stall", false, [](std::string_view) -> std::optional<Fault> { return StallBeforeHeaders{}; }},
    {"--stall-body", false, [](std::string_view) -> std::optional<Fault> { return StallAfterHeaders{}; }},
    {"--drop", true,
     [](std::string_view bytes) -> std::optional<Fault> {
       const auto count = ParseNumber(bytes, std::numeric_limits<std::int64_t>::max());
       if (!count) return std::nullopt;
       return DropAfter{*count};
     }},
    {"--slow", true,
     [](std::string_view rate) -> std::optional<Fault> {
       const auto bytesPerSecond = ParseNumber(rate, std::numeric_limits<std::int32_t>::max());
       if (!bytesPerSecond || *bytesPerSecond == 0) return std::nullopt;
       return Drip{*bytesPerSecond};
     }},
    {"--corrupt", true,
     [](std::string_view offset) -> std::optional<Fault> {
       const auto at = ParseNumber(offset, std::numeric_limits<std::int64_t>::max());
       if (!at) return std::nullopt;
       return CorruptByte{*at};
     }},
};

// Applies one fault option's value ("[N:]PATH[=ARG]"); returns what is wrong with it.
std::string AddFault(const FaultOption& option, std::string_view value, DevServerConfig& config) {
  const auto [address, rest] = SplitAddress(value);
  const auto equals = rest.find('=');
  const std::string_view path = rest.substr(0, equals);
  if (!path.starts_with('/')) return std::string(option.name) + ": the path must start with '/': " + std::string(value);
  if (option.takesArgument == (equals == std::string_view::npos)) {
    return std::string(option.name) + (option.takesArgument ? ": PATH=VALUE expected: " : ": no '=' expected: ") +
           std::string(value);
  }
  const auto fault = option.make(option.takesArgument ? rest.substr(equals + 1) : std::string_view());
  if (!fault) return std::string(option.name) + ": bad value: " + std::string(value);
  for (int i = 0; i < 3; ++i) {
    if (address && *address != i) continue;
    auto& target = config.addresses[i];
    target.faults.emplace_back(target.pathPrefix + std::string(path), *fault);
  }
  return {};
}

}  // namespace

DevServerConfig DemoDefaults(const std::filesystem::path& demoTlsDir) {
  DevServerConfig config;
  config.certFile = demoTlsDir / "demo-server.pem";
  config.keyFile = demoTlsDir / "demo-server.key";
  config.addresses[0].port = 18441;
  config.addresses[1].port = 18442;
  config.addresses[1].pathPrefix = "/vexmor-bucket";
  config.addresses[2].port = 18443;
  return config;
}

std::string ParseArguments(std::span<const std::string> args, DevServerConfig& config) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      config.help = true;
      continue;
    }
    if (i + 1 == args.size()) return name.starts_with("--") ? name + ": a value is missing" : "unknown argument: " + name;
    const std::string_view value = args[++i];

    if (name == "--cert") {
      config.certFile = value;
    } else if (name == "--key") {
      config.keyFile = value;
    } else if (name == "--tree") {
      const auto [address, dir] = SplitAddress(value);
      if (dir.empty()) return "--tree: a folder is missing";
      for (int a = 0; a < 3; ++a) {
        if (!address || *address == a) config.addresses[a].tree = dir;
      }
    } else if (name == "--port") {
      const auto [address, text] = SplitAddress(value);
      const auto port = ParseNumber(text, 65535);
      if (!address || !port) return "--port: N:PORT expected (N 1 to 3, PORT 0 to 65535): " + std::string(value);
      config.addresses[*address].port = static_cast<std::uint16_t>(*port);
    } else if (name == "--unreachable") {
      if (value.size() != 1 || value[0] < '1' || value[0] > '3') {
        return "--unreachable: an address number 1 to 3 expected: " + std::string(value);
      }
      config.addresses[value[0] - '1'].unreachable = true;
    } else {
      const FaultOption* option = nullptr;
      for (const auto& candidate : kFaultOptions) {
        if (candidate.name == name) option = &candidate;
      }
      if (!option) return "unknown option: " + name;
      if (auto problem = AddFault(*option, value, config); !problem.empty()) return problem;
    }
  }
  if (config.help) return {};
  for (int a = 0; a < 3; ++a) {
    if (!config.addresses[a].unreachable && config.addresses[a].tree.empty()) {
      return "no tree to serve at address " + std::to_string(a + 1) + ": give --tree DIR";
    }
  }
  return {};
}

}  // namespace vexmor::devserver
