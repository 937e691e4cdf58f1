#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "patcher/patcher.h"
#include "patcher/version_records.h"
#include "tests/testlib/temp_dir.h"
#include "tests/testlib/update_servers.h"

namespace vexmor::test {

// A game folder published on three loopback update servers and an installation folder to update.
class UpdateFixture : public ::testing::Test {
 public:
  // The files of the published game, relative to the game root.
  static constexpr const char* kGameFiles[] = {"Vexmor/VexmorGame.exe", "Vexmor/Option.ini",
                                               "Vexmor/data/world.pak", "Vexmor/data/small.txt"};

  void SetUp() override;

  // Publishes the game root and starts the three servers.
  void Serve(const PublishOptions& options = {});
  std::unique_ptr<Patcher> MakePatcher();
  // One whole run on this thread; questions are answered by `policy` (all "true" by default).
  PatchStage RunUpdate(Patcher& patcher, QuestionAnswerer::Policy policy = nullptr);

  std::filesystem::path Installed(const std::string& relative) const { return install / relative; }
  bool IsInstalledLikePublished(const std::string& relative) const;
  int InstalledVersion() const { return ReadVersionRecords(install).installedVersion; }
  // The records of the checksum list served at a position.
  std::vector<PatchEntry> PublishedEntries(Patcher& patcher, int position = 1);
  // Rewrites the checksum list of a served tree with `edit` applied to its text, signed again.
  void EditChecksumList(int position, const std::function<std::string(std::string)>& edit);
  // Signs a document of a served tree again, with a key of tests/fixtures/keys.
  void Sign(const std::filesystem::path& document, const std::filesystem::path& signature,
            std::string_view key = "trusted-1");

  TempDir dir;
  std::filesystem::path root = dir / "game";
  std::filesystem::path install = dir / "install";
  std::unique_ptr<UpdateServers> servers;
  std::vector<std::string> openedLinks;
  std::vector<QuestionAnswerer::Question> questions;
};

}  // namespace vexmor::test
