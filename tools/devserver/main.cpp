// vexmor-devserver: the demo build's three update addresses on this machine, with faults on demand.
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <pthread.h>

#include "tools/devserver/devserver_config.h"
#include "tools/server/https_server.h"

namespace {

using vexmor::devserver::DevServerConfig;

std::mutex outputMutex;

void PrintLine(const std::string& line) {
  std::lock_guard lock(outputMutex);
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

int Serve(const DevServerConfig& config) {
  // Every thread, the servers' included, leaves SIGINT and SIGTERM to the sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::vector<std::unique_ptr<vexmor::HttpsServer>> servers;
  for (const auto& address : config.addresses) {
    if (address.unreachable) {
      PrintLine("unreachable: nothing listens on 127.0.0.1:" + std::to_string(address.port));
      continue;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(address.tree, error)) {
      std::fprintf(stderr, "vexmor-devserver: the tree %s is not a folder\n", address.tree.c_str());
      return 1;
    }
    vexmor::HttpsServerOptions options;
    options.certFile = config.certFile;
    options.keyFile = config.keyFile;
    options.root = address.tree;
    options.pathPrefix = address.pathPrefix;
    options.port = address.port;
    options.log = [](const vexmor::RequestLog& entry) {
      PrintLine("127.0.0.1:" + std::to_string(entry.port) + " " + entry.method + " " + entry.path + " " +
                std::to_string(entry.status) + " " + std::to_string(entry.bytes));
    };
    auto server = std::make_unique<vexmor::HttpsServer>(std::move(options));
    for (const auto& [pattern, fault] : address.faults) server->SetFault(pattern, fault);
    PrintLine("serving " + server->BaseUrl() + " from " + std::filesystem::absolute(address.tree).string());
    servers.push_back(std::move(server));
  }
  PrintLine("ready");

  int signal = 0;
  sigwait(&stopSignals, &signal);
  PrintLine(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
  servers.clear();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  DevServerConfig config = vexmor::devserver::DemoDefaults(VEXMOR_DEMO_TLS_DIR);
  if (const auto problem = vexmor::devserver::ParseArguments(args, config); !problem.empty()) {
    std::fprintf(stderr, "vexmor-devserver: %s\n(see vexmor-devserver --help)\n", problem.c_str());
    return 2;
  }
  if (config.help) {
    std::fputs(vexmor::devserver::kUsage, stdout);
    return 0;
  }
  try {
    return Serve(config);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vexmor-devserver: %s\n", error.what());
    return 1;
  }
}
