#include "tools/publish/arguments.h"

#include <gtest/gtest.h>

namespace vexmor::publish {
namespace {

constexpr OptionSpec kSpecs[] = {{"root"}, {"public", true}};

std::string Parse(std::vector<std::string> args, Options& options) {
  return ParseOptions(args, kSpecs, options);
}

TEST(PublishArgumentsTest, ReadsOptionsAndRepeatedOptions) {
  Options options;
  EXPECT_EQ(Parse({"--public", "a.pem", "--root", "game dir", "--public", "b.pem"}, options), "");
  EXPECT_EQ(options.Get("root"), "game dir");
  EXPECT_EQ(options.All("public"), (std::vector<std::string>{"a.pem", "b.pem"}));
  EXPECT_FALSE(options.Has("key"));
  EXPECT_EQ(options.Get("key"), "");
}

TEST(PublishArgumentsTest, RefusesWhatItDoesNotKnow) {
  const std::vector<std::vector<std::string>> wrong = {
      {"--rot", "x"}, {"--root"}, {"--root", "a", "--root", "b"}, {"stray"}, {"-root", "x"}};
  for (const auto& args : wrong) {
    Options options;
    EXPECT_NE(Parse(args, options), "") << args.front();
  }
}

TEST(PublishArgumentsTest, PositiveNumbers) {
  EXPECT_EQ(ParsePositiveNumber("1"), 1);
  EXPECT_EQ(ParsePositiveNumber("2147483647"), 2147483647);
  for (const char* wrong : {"", "0", "-3", "2147483648", "12a", " 12", "+5", "1.5"}) {
    EXPECT_FALSE(ParsePositiveNumber(wrong).has_value()) << wrong;
  }
}

}  // namespace
}  // namespace vexmor::publish
