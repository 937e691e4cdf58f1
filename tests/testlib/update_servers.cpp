#include "tests/testlib/update_servers.h"

#include <sys/wait.h>

#include <chrono>
#include <stdexcept>

#include "tests/testlib/temp_dir.h"

namespace vexmor::test {

std::filesystem::path KeyFile(std::string_view name) {
  return std::filesystem::path(VEXMOR_KEY_FIXTURE_DIR) / (std::string(name) + ".pem");
}

std::string PublicKeyPem(std::string_view name) {
  return ReadFile(std::filesystem::path(VEXMOR_KEY_FIXTURE_DIR) / (std::string(name) + ".pub.pem"));
}

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

void PublishTree(const std::filesystem::path& root, const std::filesystem::path& tree, const PublishOptions& options) {
  std::string command = Quoted(VEXMOR_PUBLISH_EXE) + " build --root " + Quoted(root.string()) + " --out " +
                        Quoted(tree.string()) + " --game-version " + std::to_string(options.gameVersion) +
                        " --key " + Quoted(options.keyPath.value_or(KeyFile(options.key)).string());
  if (options.launcher) {
    command += " --launcher " + Quoted(options.launcher->string()) + " --launcher-version " +
               std::to_string(options.launcherVersion);
  }
  if (options.news) command += " --news " + Quoted(options.news->string());
  if (options.announceVersion) {
    command += " --announce-version " + std::to_string(options.announceVersion) + " --announce-link " +
               Quoted(options.announceLink);
  }
  if (!options.website.empty()) command += " --website " + Quoted(options.website);
  if (!options.forum.empty()) command += " --forum " + Quoted(options.forum);
  command += " 2>&1 >/dev/null";
  const int status = std::system(command.c_str());
  if (status != 0) throw std::runtime_error("vexmor-publish failed: " + command);
}

UpdateServers::UpdateServers(const std::filesystem::path& workFolder, const std::filesystem::path& root,
                             const PublishOptions& options) {
  const auto published = workFolder / "published";
  PublishTree(root, published, options);
  for (int i = 0; i < 3; ++i) {
    trees_[i] = workFolder / ("server" + std::to_string(i + 1));
    std::filesystem::copy(published, trees_[i], std::filesystem::copy_options::recursive);
    servers_[i] = std::make_unique<TestServer>(trees_[i], i == 1 ? "/vexmor-bucket" : "");
  }
}

std::array<std::string, 3> UpdateServers::Urls() const {
  return {servers_[0]->BaseUrl(), servers_[1]->BaseUrl(), servers_[2]->BaseUrl()};
}

EngineConfig TestEngineConfig(const std::array<std::string, 3>& urls, const std::filesystem::path& launcherFolder,
                              std::vector<std::string>* openedLinks) {
  EngineConfig config;
  config.updateUrls = urls;
  config.publicKey1 = PublicKeyPem("trusted-1");
  config.publicKey2 = PublicKeyPem("trusted-2");
  config.transfer = TestTransferSettings(std::chrono::seconds(2));
  config.launcherFolder = launcherFolder;
  config.modulePath = launcherFolder / "vexmor-launcher";
  config.openLink = [openedLinks](const std::string& link) {
    if (openedLinks) openedLinks->push_back(link);
    return true;
  };
  return config;
}

QuestionAnswerer::QuestionAnswerer(Patcher& patcher, Policy policy)
    : patcher_(patcher), policy_(std::move(policy)), thread_([this] {
        while (!stop_) {
          if (patcher_.questionPending.load(std::memory_order_acquire)) {
            Question question{patcher_.questionKind.load(), patcher_.QuestionText()};
            {
              std::lock_guard lock(mutex_);
              questions_.push_back(question);
            }
            patcher_.AnswerQuestion(policy_(question));
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
      }) {}

QuestionAnswerer::~QuestionAnswerer() {
  stop_ = true;
  thread_.join();
}

std::vector<QuestionAnswerer::Question> QuestionAnswerer::Questions() {
  std::lock_guard lock(mutex_);
  return questions_;
}

}  // namespace vexmor::test
