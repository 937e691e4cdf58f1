#include <gtest/gtest.h>

#include "support/paths/paths.h"
#include "support/paths/text.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {

TEST(ToIntOrZero, FollowsStrtolWithinSigned32Bits) {
  struct Case {
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"42", 42},           {" 42", 42},          {"\t\n+42", 42},      {"-7", -7},
      {"42abc", 42},        {"153 ", 153},        {"abc", 0},           {"", 0},
      {"-", 0},             {" - 5", 0},          {"2147483647", 2147483647},
      {"2147483648", 0},    {"-2147483648", -2147483647 - 1},         {"-2147483649", 0},
      {"3000000000", 0},    {"99999999999999999999999", 0},           {"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(ToIntOrZero(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SplitTabs, DropsEmptyFieldsAndTrimsNothing) {
  using Fields = std::vector<std::string>;
  struct Case {
    std::string line;
    Fields expected;
  } cases[] = {
      {"a\t\tb\t", {"a", "b"}},
      {"", {}},
      {"\t\t", {}},
      {"\ta b \tc\r", {"a b ", "c\r"}},
      {"one", {"one"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTabs(c.line), c.expected) << c.line;
}

TEST(AnsiToWide, DecodesUtf8AndNeverFails) {
  struct Case {
    std::string text;
    std::wstring expected;
  } cases[] = {
      {"plain", L"plain"},
      {"caf\xC3\xA9", L"caf\u00E9"},
      {"\xE2\x82\xAC and \xF0\x9F\x8E\xAE", L"\u20AC and \U0001F3AE"},
      {std::string("ends\0here", 9), L"ends"},
      {"bad \xFF byte", L"bad \uFFFD byte"},
      {"cut \xE2\x82", L"cut \uFFFD\uFFFD"},
      {"overlong \xC0\xAF", L"overlong \uFFFD\uFFFD"},
      {"surrogate \xED\xA0\x80", L"surrogate \uFFFD\uFFFD\uFFFD"},
      {"\r\n", L"\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(AnsiToWide(c.text), c.expected) << c.text;
  EXPECT_EQ(WideToUtf8(L"caf\u00E9 \U0001F3AE"), "caf\xC3\xA9 \xF0\x9F\x8E\xAE");
}

TEST(FileNameOf, TakesTheLastComponentOfEitherSeparator) {
  EXPECT_EQ(FileNameOf(L"Vexmor/system/data.bin"), L"data.bin");
  EXPECT_EQ(FileNameOf(L"C:\\Games\\launcher.exe"), L"launcher.exe");
  EXPECT_EQ(FileNameOf(L"Launcher Update"), L"Launcher Update");
  EXPECT_EQ(FileNameOf(L"folder/"), L"");
}

TEST(CreateParentDirectories, CreatesMissingFoldersAndAcceptsExistingOnes) {
  test::TempDir dir;
  const auto file = dir / "Vexmor/system/deep/data.bin";
  EXPECT_TRUE(CreateParentDirectories(file));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Vexmor/system/deep"));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(CreateParentDirectories(file));  // all present: nothing changes

  test::WriteFile(dir / "blocker", "a file where a folder should be");
  EXPECT_FALSE(CreateParentDirectories(dir / "blocker/inner/file.bin"));
  EXPECT_TRUE(CreateParentDirectories("no-separator"));
}

}  // namespace
}  // namespace vexmor
