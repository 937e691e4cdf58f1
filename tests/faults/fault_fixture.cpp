#include "tests/faults/fault_fixture.h"

#include <algorithm>
#include <thread>

namespace vexmor::test {

std::unique_ptr<Patcher> FaultFixture::MakeRecordingPatcher(std::chrono::milliseconds stallTimeout) {
  return MakeRecordingPatcher(servers->Urls(), stallTimeout);
}

std::unique_ptr<Patcher> FaultFixture::MakeRecordingPatcher(const std::array<std::string, 3>& urls,
                                                            std::chrono::milliseconds stallTimeout) {
  auto config = TestEngineConfig(urls, install, &openedLinks);
  config.transfer.stallTimeout = stallTimeout;
  config.onStatusText = [this](const std::wstring& text) {
    std::lock_guard lock(statusMutex_);
    statusTexts_.push_back(text);
  };
  return std::make_unique<Patcher>(std::move(config));
}

PatchStage FaultFixture::AttemptOn(Patcher& patcher, int position) {
  QuestionAnswerer answerer(patcher, [](const QuestionAnswerer::Question&) { return true; });
  patcher.UpdateByDomain(servers->Urls()[position - 1], position == 3);
  questions = answerer.Questions();
  return patcher.stage.load();
}

std::vector<std::wstring> FaultFixture::StatusTexts() {
  std::lock_guard lock(statusMutex_);
  return statusTexts_;
}

bool FaultFixture::SawStatus(std::wstring_view text) {
  const auto texts = StatusTexts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::string FaultFixture::PathAt(int position, const std::string& path) {
  return (position == 2 ? "/vexmor-bucket" : "") + path;
}

std::vector<RequestLog> FaultFixture::RequestsFor(TestServer& server, std::string_view part) {
  std::vector<RequestLog> found;
  for (const auto& request : server.Requests()) {
    if (request.path.find(part) != std::string::npos) found.push_back(request);
  }
  return found;
}

std::vector<RequestLog> FaultFixture::AwaitRequests(TestServer& server, std::string_view part, std::size_t count) {
  auto found = RequestsFor(server, part);
  for (int i = 0; i < 500 && found.size() < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    found = RequestsFor(server, part);
  }
  return found;
}

void FaultFixture::InstallOldFiles() {
  for (const char* file : OldFiles()) WriteFile(Installed(file), OldContents(file));
}

void FaultFixture::ExpectOldFiles() {
  for (const char* file : OldFiles()) EXPECT_EQ(ReadFile(Installed(file)), OldContents(file)) << file;
}

std::vector<const char*> FaultFixture::OldFiles() {
  std::vector<const char*> files;
  for (const char* file : kGameFiles) {
    if (std::string_view(file) != "Vexmor/Option.ini") files.push_back(file);
  }
  return files;
}

void FaultFixture::ExpectNoExpansionLeftovers() {
  for (const auto& entry : std::filesystem::directory_iterator(Installed("Vexmor/data"))) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

void FaultFixture::ExpectVerifiedInstallation(int version) {
  for (const char* file : kGameFiles) EXPECT_TRUE(IsInstalledLikePublished(file)) << file;
  EXPECT_EQ(InstalledVersion(), version);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(install)) {
    const auto name = entry.path().filename().string();
    EXPECT_FALSE(name.ends_with(".gz") || name.find(".tmp-") != std::string::npos || name.ends_with(".is_downloaded"))
        << "left over: " << entry.path();
  }
}

}  // namespace vexmor::test
