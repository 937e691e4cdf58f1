#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/system/profile_text.h"

namespace vexmor::platform {
namespace {

TEST(FindProfileValue, MatchesLikeTheProfileFunctions) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<std::string> value;  // of Patch / Version
  } cases[] = {
      {"empty text", "", std::nullopt},
      {"plain", "[Patch]\nVersion=15\n", "15"},
      {"names in another case", "[pATCH]\nVERSION=15", "15"},
      {"blanks around names and value", "  [ Patch ]  \n\t Version \t= 15 \t", "15"},
      {"CRLF", "[Patch]\r\nVersion=15\r\n", "15"},
      {"stray carriage return at the end", "[Patch]\nVersion=15\r", "15"},
      {"quoted value", "[Patch]\nVersion=\"15\"", "15"},
      {"single-quoted value", "[Patch]\nVersion='15'", "15"},
      {"empty value", "[Patch]\nVersion=", ""},
      {"'=' in the value", "[Patch]\nVersion=a=b", "a=b"},
      {"byte order mark before the header", "\xEF\xBB\xBF[Patch]\nVersion=7", "7"},
      {"header without closing bracket", "[Patch\nVersion=1", "1"},
      {"first of two keys", "[Patch]\nVersion=1\nversion=2", "1"},
      {"commented-out key", "[Patch]\n;Version=3\nVersion=4", "4"},
      {"section given twice", "[Patch]\nAnnounce=1\n[Other]\nVersion=2\n[patch]\nVersion=5", "5"},
      {"key in another section", "[Other]\nVersion=1\n[Patch]\nAnnounce=2", std::nullopt},
      {"key before any section", "Version=1\n[Patch]", std::nullopt},
      {"key name only a prefix", "[Patch]\nVersionX=1\nVer=2", std::nullopt},
      {"section name only a prefix", "[Patches]\nVersion=1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FindProfileValue(c.text, "Patch", "Version"), c.value) << c.name;
}

TEST(ProfileValueToInt, LeadingDigitsWithin32Bits) {
  struct Case {
    const char* value;
    std::int32_t number;
  } cases[] = {
      {"15", 15},          {"0", 0},       {"-3", -3},        {"+4", 4},
      {"12abc", 12},       {"1 2", 1},     {"abc", 0},        {"", 0},
      {"-", 0},            {"0x10", 0},    {"007", 7},        {"2147483647", 2147483647},
      {"2147483648", 0},   {"-2147483648", -2147483647 - 1},  {"99999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ProfileValueToInt(c.value), c.number) << '"' << c.value << '"';
}

TEST(SetProfileValue, EditsOnlyWhatItMust) {
  struct Case {
    const char* name;
    std::string text;
    const char* key;
    std::string expected;
  } cases[] = {
      {"empty text", "", "Version", "[Patch]\nVersion=15\n"},
      {"value replaced, every other byte kept",
       "; settings\r\n[Patch]\r\nVersion = 3 \r\nAnnounce=2\r\n\r\n[Other]\r\n x = y \r\n", "Version",
       "; settings\r\n[Patch]\r\nVersion=15\r\nAnnounce=2\r\n\r\n[Other]\r\n x = y \r\n"},
      {"spelling of the file's key kept", "[PATCH]\n  version\t= 3\n", "Version", "[PATCH]\nversion=15\n"},
      {"key added at the end of its section", "[Patch]\nVersion=3\n; note\n\n[Other]\nx=1\n", "Announce",
       "[Patch]\nVersion=3\n; note\nAnnounce=15\n\n[Other]\nx=1\n"},
      {"key added after a header without line feed", "[Patch]", "Version", "[Patch]\nVersion=15\n"},
      {"key added after a last line without line feed", "[Patch]\r\nVersion=3", "Announce",
       "[Patch]\r\nVersion=3\r\nAnnounce=15\r\n"},
      {"last line replaced without adding a line feed", "[Patch]\nVersion=3", "Version", "[Patch]\nVersion=15"},
      {"section added after a last line without line feed", "[Other]\nx=1", "Version",
       "[Other]\nx=1\n[Patch]\nVersion=15\n"},
      {"section added with the file's CRLF", "[Other]\r\nx=1\r\n", "Version",
       "[Other]\r\nx=1\r\n[Patch]\r\nVersion=15\r\n"},
      {"key outside any section is not the section's", "Version=1\n", "Version", "Version=1\n[Patch]\nVersion=15\n"},
      {"key found in the second copy of the section", "[Patch]\nA=1\n[Patch]\nVersion=2\n", "Version",
       "[Patch]\nA=1\n[Patch]\nVersion=15\n"},
      {"key added to the first copy of the section", "[Patch]\nA=1\n[Patch]\nB=2\n", "Version",
       "[Patch]\nA=1\nVersion=15\n[Patch]\nB=2\n"},
      {"byte order mark kept", "\xEF\xBB\xBF[Patch]\nVersion=3\n", "Version", "\xEF\xBB\xBF[Patch]\nVersion=15\n"},
  };
  for (const auto& c : cases) {
    const auto edited = SetProfileValue(c.text, "Patch", c.key, "15");
    ASSERT_TRUE(edited) << c.name;
    EXPECT_EQ(*edited, c.expected) << c.name;
    EXPECT_EQ(FindProfileValue(*edited, "Patch", c.key), "15") << c.name << ": reads back";
  }
}

TEST(SetProfileValue, RefusesWhatCouldNotBeReadBack) {
  struct Case {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
  } cases[] = {
      {"empty section", "", "Version", "1"},
      {"empty key", "Patch", "", "1"},
      {"']' in the section", "Pa]tch", "Version", "1"},
      {"blank around the section", " Patch", "Version", "1"},
      {"'=' in the key", "Patch", "Ver=sion", "1"},
      {"key that reads as a header", "Patch", "[Version", "1"},
      {"key that reads as a comment", "Patch", ";Version", "1"},
      {"blank around the key", "Patch", "Version ", "1"},
      {"line feed in the value", "Patch", "Version", "1\n[Evil]"},
      {"carriage return in the value", "Patch", "Version", "1\r"},
      {"line feed in the key", "Patch", "Ver\nsion", "1"},
      {"NUL in the section", std::string("Pat\0ch", 6), "Version", "1"},
  };
  for (const auto& c : cases) EXPECT_FALSE(SetProfileValue("[Patch]\n", c.section, c.key, c.value)) << c.name;
}

}  // namespace
}  // namespace vexmor::platform
