#include <gtest/gtest.h>

#include "tools/server/fault_rules.h"

namespace vexmor {
namespace {

// The status of the rule that applies to a path, 0 for none.
int StatusFor(const FaultRules& rules, std::string_view path) {
  const auto fault = rules.Find(path);
  return fault ? std::get<RespondStatus>(*fault).status : 0;
}

TEST(FaultRules, ExactRuleWinsThenTheLongestPrefix) {
  FaultRules rules;
  rules.Set("/new_launcher/*", RespondStatus{503, ""});
  rules.Set("/new_launcher/files/*", RespondStatus{404, ""});
  rules.Set("/new_launcher/files/a.gz", RespondStatus{410, ""});
  struct Case {
    const char* path;
    int status;
  } cases[] = {
      {"/new_launcher/files/a.gz", 410}, {"/new_launcher/files/b.gz", 404}, {"/new_launcher/latest.txt", 503},
      {"/new_launcher", 0},              {"/cdn_status.txt", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusFor(rules, c.path), c.status) << c.path;

  rules.Set("/new_launcher/files/*", RespondStatus{500, ""});  // replaces
  EXPECT_EQ(StatusFor(rules, "/new_launcher/files/b.gz"), 500);
  rules.Clear("/new_launcher/files/*");
  EXPECT_EQ(StatusFor(rules, "/new_launcher/files/b.gz"), 503);
  rules.ClearAll();
  EXPECT_EQ(StatusFor(rules, "/new_launcher/files/a.gz"), 0);
}

}  // namespace
}  // namespace vexmor
