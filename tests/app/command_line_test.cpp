#include <gtest/gtest.h>

#include "app/command_line.h"

namespace vexmor {
namespace {

TEST(CommandLine, ReadsTheSwitches) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    bool valid;
    bool multiWindow;
    bool headless;
    bool repair;
    HeadlessAnswers answers;
  } cases[] = {
      {"none", {}, true, false, false, false, HeadlessAnswers::Ask},
      {"multiwindow", {"-multiwindow"}, true, true, false, false, HeadlessAnswers::Ask},
      {"inside a longer argument", {"x-multiwindowy"}, true, true, false, false, HeadlessAnswers::Ask},
      {"other letter case", {"-MultiWindow"}, true, false, false, false, HeadlessAnswers::Ask},
      {"unknown ignored by the window", {"/something"}, true, false, false, false, HeadlessAnswers::Ask},
      {"headless", {"--headless"}, true, false, true, false, HeadlessAnswers::Ask},
      {"self-update restart", {"-multiwindow", "--headless", "--yes"}, true, true, true, false, HeadlessAnswers::Yes},
      {"repair no", {"--headless", "--repair", "--no"}, true, false, true, true, HeadlessAnswers::No},
      {"yes and no", {"--headless", "--yes", "--no"}, false, false, false, false, HeadlessAnswers::Ask},
      {"unknown in headless", {"--headless", "--yess"}, false, false, false, false, HeadlessAnswers::Ask},
      {"yes without headless", {"--yes"}, false, false, false, false, HeadlessAnswers::Ask},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto line = ParseCommandLine(c.arguments, error);
    ASSERT_EQ(line.has_value(), c.valid) << c.name;
    if (!line) {
      EXPECT_FALSE(error.empty()) << c.name;
      continue;
    }
    EXPECT_EQ(line->multiWindow, c.multiWindow) << c.name;
    EXPECT_EQ(line->headless, c.headless) << c.name;
    EXPECT_EQ(line->headlessOptions.repair, c.repair) << c.name;
    EXPECT_EQ(line->headlessOptions.answers, c.answers) << c.name;
  }
}

}  // namespace
}  // namespace vexmor
