#include <gtest/gtest.h>

#include <optional>

#include "tools/server/static_files.h"

namespace vexmor {
namespace {

TEST(FileForRequest, MapsPathsBelowThePrefixAndNothingElse) {
  const std::filesystem::path root = "/srv/tree";
  struct Case {
    const char* prefix;
    const char* request;
    std::optional<std::filesystem::path> file;
  } cases[] = {
      {"", "/cdn_status.txt", "/srv/tree/cdn_status.txt"},
      {"", "/new_launcher/files/Vexmor/a b.dat.gz", "/srv/tree/new_launcher/files/Vexmor/a b.dat.gz"},
      {"", "//new_launcher/./latest.txt", "/srv/tree/new_launcher/latest.txt"},
      {"/vexmor-bucket", "/vexmor-bucket/cdn_status.txt", "/srv/tree/cdn_status.txt"},
      {"/vexmor-bucket", "/cdn_status.txt", std::nullopt},
      {"/vexmor-bucket", "/vexmor-bucketx/cdn_status.txt", std::nullopt},
      {"/vexmor-bucket", "/vexmor-bucket", std::nullopt},
      {"", "/", std::nullopt},
      {"", "/../etc/passwd", std::nullopt},
      {"", "/files/../../etc/passwd", std::nullopt},
      {"", "/files/..", std::nullopt},
      {"", "relative.txt", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FileForRequest(root, c.prefix, c.request), c.file) << c.request;
  EXPECT_EQ(FileForRequest(root, "", std::string_view("/a\0b", 4)), std::nullopt);
}

}  // namespace
}  // namespace vexmor
