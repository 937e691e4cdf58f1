#include "tools/publish/listed_path.h"

#include <gtest/gtest.h>

namespace vexmor::publish {
namespace {

struct PathCase {
  const char* name;
  std::string path;
  bool publishable;
};

TEST(PublishListedPathTest, AcceptsWhatTheListAndTheAddressesCarry) {
  const PathCase cases[] = {
      {"nested", "Vexmor/VexmorGame.exe", true},
      {"single name", "Launcher.dat", true},
      {"UTF-8 letters", "Vexmor/Données/carte_été.pak", true},
      {"punctuation", "Vexmor/a-b_c+d(1),e=f~g!.dat", true},
      {"TAB", "Vexmor/a\tb", false},
      {"line feed", "Vexmor/a\nb", false},
      {"carriage return", "Vexmor/ab\r", false},
      {"backslash", "Vexmor\\a.dat", false},
      {"other control character",
       "Vexmor/a\x01"
       "b",
       false},
      {"delete character", "Vexmor/a\x7f", false},
      {"blank", "Vexmor/My File.dat", false},
      {"hash", "Vexmor/a#b", false},
      {"question mark", "Vexmor/a?b", false},
      {"percent", "Vexmor/a%20b", false},
      {"invalid byte", "Vexmor/\xff.dat", false},
      {"overlong slash", "Vexmor/\xc0\xaf", false},
      {"surrogate", "Vexmor/\xed\xa0\x80", false},
      {"truncated sequence", "Vexmor/\xe2\x82", false},
      {"empty", "", false},
      {"leading separator", "/etc/passwd", false},
      {"doubled separator", "Vexmor//a", false},
      {"trailing separator", "Vexmor/", false},
      {"parent folder", "Vexmor/../../x", false},
      {"current folder", "./Vexmor/a", false},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ListedPathProblem(c.path).empty(), c.publishable) << c.name;
  }
}

TEST(PublishListedPathTest, SaysWhy) {
  EXPECT_NE(ListedPathProblem("a\tb").find("TAB"), std::string::npos);
  EXPECT_NE(ListedPathProblem("a\\b").find("backslash"), std::string::npos);
  EXPECT_NE(ListedPathProblem("\xff").find("UTF-8"), std::string::npos);
}

}  // namespace
}  // namespace vexmor::publish
