#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "patcher/engine_config.h"
#include "patcher/patcher.h"
#include "tests/testlib/test_server.h"

namespace vexmor::test {

// A signing key of tests/fixtures/keys: "trusted-1", "trusted-2" (built into the engine under
// test) or "untrusted".
std::filesystem::path KeyFile(std::string_view name);
std::string PublicKeyPem(std::string_view name);

struct PublishOptions {
  int gameVersion = 1;
  std::string key = "trusted-1";
  std::optional<std::filesystem::path> keyPath;  // a key outside the fixtures; wins over `key`
  std::optional<std::filesystem::path> launcher;
  int launcherVersion = 0;
  std::optional<std::filesystem::path> news;
  int announceVersion = 0;
  std::string announceLink;
  std::string website;
  std::string forum;
};

// Publishes a game folder as the server tree of one update address with vexmor-publish, the tool
// operators use. Throws when the tool fails.
void PublishTree(const std::filesystem::path& root, const std::filesystem::path& tree, const PublishOptions& options);

// Three HTTPS update servers on loopback, the second below a bucket path like the real second
// address, each serving its own copy of a tree.
class UpdateServers {
 public:
  // Publishes `root` once and serves the result from all three servers.
  UpdateServers(const std::filesystem::path& workFolder, const std::filesystem::path& root,
                const PublishOptions& options);

  TestServer& server(int position) { return *servers_[position - 1]; }
  // The tree served at a position (1 to 3), to change files on one server only.
  const std::filesystem::path& tree(int position) const { return trees_[position - 1]; }
  std::array<std::string, 3> Urls() const;

 private:
  std::array<std::filesystem::path, 3> trees_;
  std::array<std::unique_ptr<TestServer>, 3> servers_;
};

// An engine configuration for tests: the given servers, the two trusted test keys, the test
// authority, a short stall timeout, and announcement pages recorded instead of opened.
EngineConfig TestEngineConfig(const std::array<std::string, 3>& urls, const std::filesystem::path& launcherFolder,
                              std::vector<std::string>* openedLinks = nullptr);

// Answers the engine's questions from another thread, as the window would, and records them.
class QuestionAnswerer {
 public:
  struct Question {
    QuestionKind kind;
    std::wstring text;
  };
  using Policy = std::function<bool(const Question&)>;

  QuestionAnswerer(Patcher& patcher, Policy policy);
  ~QuestionAnswerer();
  std::vector<Question> Questions();

 private:
  Patcher& patcher_;
  Policy policy_;
  std::mutex mutex_;
  std::vector<Question> questions_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vexmor::test
