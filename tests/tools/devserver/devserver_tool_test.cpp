#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/http/http_client.h"
#include "tests/testlib/temp_dir.h"

extern char** environ;

namespace vexmor {
namespace {

using enum TransferResult;

// The demo server running as a child process, its standard output read line by line.
class DevServerProcess {
 public:
  explicit DevServerProcess(std::vector<std::string> args) {
    args.insert(args.begin(), VEXMOR_DEVSERVER_PROGRAM);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    output_ = fdopen(pipeEnds[0], "r");
    if (error != 0) throw std::runtime_error("cannot start the demo server");
  }
  ~DevServerProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::fclose(output_);
  }

  // The next line of output without its line end; empty at the end of the output.
  std::string ReadLine() {
    std::string line;
    for (int c; (c = std::fgetc(output_)) != EOF && c != '\n';) line += static_cast<char>(c);
    return line;
  }

  // Reads the start-up lines up to "ready"; returns the served base addresses in order.
  std::vector<std::string> WaitUntilReady() {
    std::vector<std::string> urls;
    const std::regex serving("serving (https://\\S+) from .*");
    for (std::string line = ReadLine(); line != "ready"; line = ReadLine()) {
      if (line.empty()) return urls;
      startLines_.push_back(line);
      if (std::smatch match; std::regex_match(line, match, serving)) urls.push_back(match[1]);
    }
    return urls;
  }
  const std::vector<std::string>& startLines() const { return startLines_; }

  // Sends the signal, then returns the remaining output lines and the exit status.
  int Stop(int signal, std::vector<std::string>& rest) {
    kill(pid_, signal);
    for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) rest.push_back(line);
    return Wait();
  }

  // The exit status; -1 when the program is still running after ten seconds (it is then killed).
  int Wait() {
    int status = 0;
    for (int i = 0; i < 1000 && waitpid(pid_, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (i == 999) return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  std::FILE* output_ = nullptr;
  std::vector<std::string> startLines_;
};

TEST(DevServer, ServesEachAddressWithItsFaultsAndLogsEveryRequest) {
  const test::TempDir tree;
  test::WriteFile(tree / "cdn_status.txt", "ok");
  test::WriteFile(tree / "new_launcher/latest.txt", "release");
  DevServerProcess server({"--tree", tree.path().string(), "--port", "1:0", "--port", "2:0", "--port", "3:0",
                           "--status", "1:/cdn_status.txt=503", "--corrupt", "2:/new_launcher/*=0",
                           "--unreachable", "3"});
  const auto urls = server.WaitUntilReady();
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_TRUE(urls[1].ends_with("/vexmor-bucket"));
  EXPECT_TRUE(server.startLines().back().starts_with("unreachable: nothing listens on 127.0.0.1:"));

  const HttpClient client(TransferSettings{test::ReadFile(VEXMOR_DEMO_CA_FILE)});
  EXPECT_FALSE(client.ProbeServer(urls[0]));
  EXPECT_TRUE(client.ProbeServer(urls[1]));
  std::string first;
  std::string second;
  EXPECT_EQ(client.FetchToMemory(urls[0] + "/new_launcher/latest.txt", first, nullptr), TransferOk);
  EXPECT_EQ(client.FetchToMemory(urls[1] + "/new_launcher/latest.txt", second, nullptr), TransferOk);
  EXPECT_EQ(first, "release");
  EXPECT_EQ(second, "\x8d" "elease");

  std::vector<std::string> log;
  EXPECT_EQ(server.Stop(SIGTERM, log), 0);
  const std::string host1 = urls[0].substr(8);                            // after "https://"
  const std::string host2 = urls[1].substr(8, urls[1].find('/', 8) - 8);  // without the bucket path
  EXPECT_EQ(log, (std::vector<std::string>{
                     host1 + " GET /cdn_status.txt 503 30",
                     host2 + " GET /vexmor-bucket/cdn_status.txt 200 2",
                     host1 + " GET /new_launcher/latest.txt 200 7",
                     host2 + " GET /vexmor-bucket/new_launcher/latest.txt 200 7",
                     "stopping on SIGTERM",
                 }));
}

TEST(DevServer, StopsOnInterruptAlsoWhileARequestIsStalled) {
  const test::TempDir tree;
  test::WriteFile(tree / "cdn_status.txt", "ok");
  DevServerProcess server({"--tree", tree.path().string(), "--port", "1:0", "--port", "2:0", "--port", "3:0",
                           "--stall", "/cdn_status.txt"});
  const auto urls = server.WaitUntilReady();
  ASSERT_EQ(urls.size(), 3u);
  std::thread prober([&] { HttpClient(TransferSettings{test::ReadFile(VEXMOR_DEMO_CA_FILE)}).ProbeServer(urls[2]); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the probe is stalled by now
  std::vector<std::string> log;
  EXPECT_EQ(server.Stop(SIGINT, log), 0);
  prober.join();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "stopping on SIGINT");
}

TEST(DevServer, ExitStatusTellsWrongArgumentsFromFailingToServe) {
  const test::TempDir tree;
  {
    DevServerProcess help({"--help"});
    EXPECT_EQ(help.ReadLine(), "usage: vexmor-devserver --tree [N:]DIR [options]");
    EXPECT_EQ(help.Wait(), 0);
  }
  EXPECT_EQ(DevServerProcess({"--tree", tree.path().string(), "--slow", "/a=0"}).Wait(), 2);
  EXPECT_EQ(DevServerProcess({"--tree", (tree / "missing").string(), "--port", "1:0"}).Wait(), 1);
  EXPECT_EQ(DevServerProcess({"--tree", tree.path().string(), "--port", "1:0", "--cert", (tree / "none.pem").string()}).Wait(), 1);

  DevServerProcess first({"--tree", tree.path().string(), "--port", "1:0", "--unreachable", "2", "--unreachable", "3"});
  const auto urls = first.WaitUntilReady();
  ASSERT_EQ(urls.size(), 1u);
  const std::string port = urls[0].substr(urls[0].rfind(':') + 1);
  EXPECT_EQ(DevServerProcess({"--tree", tree.path().string(), "--port", "1:" + port, "--unreachable", "2",
                              "--unreachable", "3"}).Wait(), 1);
}

}  // namespace
}  // namespace vexmor
