#include "tests/patcher/update_fixture.h"

#include <random>

namespace vexmor::test {

void UpdateFixture::SetUp() {
  std::mt19937 random(7);
  std::string pak(300 * 1024, '\0');  // several 64 KiB blocks, not all of them compressible
  for (std::size_t i = 0; i < pak.size(); ++i) pak[i] = i % 3 ? static_cast<char>(random()) : 'v';
  WriteFile(root / "Vexmor/VexmorGame.exe", "#!/bin/sh\necho game\n");
  WriteFile(root / "Vexmor/Option.ini", "[Video]\nFullscreen=1\n");
  WriteFile(root / "Vexmor/data/world.pak", pak);
  WriteFile(root / "Vexmor/data/small.txt", "small\n");
  std::filesystem::create_directories(install);
}

void UpdateFixture::Serve(const PublishOptions& options) {
  servers = std::make_unique<UpdateServers>(dir / "servers", root, options);
}

std::unique_ptr<Patcher> UpdateFixture::MakePatcher() {
  return std::make_unique<Patcher>(TestEngineConfig(servers->Urls(), install, &openedLinks));
}

PatchStage UpdateFixture::RunUpdate(Patcher& patcher, QuestionAnswerer::Policy policy) {
  QuestionAnswerer answerer(patcher, policy ? policy : [](const QuestionAnswerer::Question&) { return true; });
  patcher.Run();
  questions = answerer.Questions();
  return patcher.stage.load();
}

bool UpdateFixture::IsInstalledLikePublished(const std::string& relative) const {
  return std::filesystem::is_regular_file(install / relative) && ReadFile(install / relative) == ReadFile(root / relative);
}

std::vector<PatchEntry> UpdateFixture::PublishedEntries(Patcher& patcher, int position) {
  std::vector<PatchEntry> entries;
  EXPECT_TRUE(patcher.ParsePatchInfo(ReadFile(servers->tree(position) / "new_launcher/checksums.txt"), entries));
  return entries;
}

void UpdateFixture::EditChecksumList(int position, const std::function<std::string(std::string)>& edit) {
  const auto list = servers->tree(position) / "new_launcher/checksums.txt";
  WriteFile(list, edit(ReadFile(list)));
  Sign(list, servers->tree(position) / "new_launcher/checksums.sig");
}

void UpdateFixture::Sign(const std::filesystem::path& document, const std::filesystem::path& signature,
                         std::string_view key) {
  const std::string command = "openssl dgst -sha256 -sign '" + KeyFile(key).string() + "' -out '" +
                              signature.string() + "' '" + document.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace vexmor::test
