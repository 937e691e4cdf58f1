#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "support/ini/ini_document.h"

namespace vexmor {
namespace {

// A sorted, readable form of a section tree: {'key'='value' [name]depth{...}}.
std::string Dump(const IniSection& section) {
  std::string out = "{";
  const std::map<std::string, std::string> values(section.values.begin(), section.values.end());
  for (const auto& [key, value] : values) out += "'" + key + "'='" + value + "' ";
  std::map<std::string, const IniSection*> sections;
  for (const auto& [name, child] : section.sections) sections[name] = child.get();
  for (const auto& [name, child] : sections) {
    out += "[" + name + "]" + std::to_string(child->depth) + Dump(*child) + " ";
  }
  if (out.back() == ' ') out.pop_back();
  return out + "}";
}

// The dump of the parsed text, or the error message.
std::string ParseToDump(const std::string& text) {
  IniDocument document;
  std::istringstream input(text);
  try {
    document.Parse(input);
  } catch (const std::runtime_error& error) {
    return std::string("error: ") + error.what();
  }
  return Dump(document.root);
}

TEST(IniDocument, Grammar) {
  struct Case {
    const char* name;
    std::string text;
    std::string dump;
  } cases[] = {
      {"empty text", "", "{}"},
      {"only blanks and comments", "\n  \t\r\n; one\n# two\n", "{}"},
      {"last line without line feed", "a=1\nb=2", "{'a'='1' 'b'='2'}"},
      {"blanks around key and value", " key \t=\t value \r", "{'key'='value'}"},
      {"empty key and value", "=\nk=", "{''='' 'k'=''}"},
      {"only the first '=' separates", "url = a=b", "{'url'='a=b'}"},
      {"'#' cuts the value", "url = x#y", "{'url'='x'}"},
      {"';' cuts the value", "a = x;y", "{'a'='x'}"},
      {"'#' wins over an earlier ';'", "a = x;y#z", "{'a'='x;y'}"},
      {"blank before a comment stays", "key = 12 # note", "{'key'='12 '}"},
      {"value that is only a comment", "a = # x", "{'a'=''}"},
      {"comment marker after blanks is a key", "  # a = b", "{'# a'='b'}"},
      {"';' inside the key", "x;y = 1", "{'x;y'='1'}"},
      {"keys differ by case", "k=1\nK=2", "{'K'='2' 'k'='1'}"},
      {"byte order mark is part of the key", "\xEF\xBB\xBFkey=1", "{'\xEF\xBB\xBFkey'='1'}"},
      {"name is not trimmed", "[ a ]\nk=v", "{[ a ]1{'k'='v'}}"},
      {"closing bracket is assumed", "[abc\nk=v", "{[ab]1{'k'='v'}}"},
      {"short header names what follows the brackets", "[\n[[x", "{[]1{[x]2{}}}"},
      {"indented header", "\t[a] \r\nk=v", "{[a]1{'k'='v'}}"},
      {"nested headers and a way back up", "r=0\n[a]\nk=1\n[[b]]\nk=2\n[[[c]]]\nk=3\n[d]\nk=4",
       "{'r'='0' [a]1{'k'='1' [b]2{'k'='2' [c]3{'k'='3'}}} [d]1{'k'='4'}}"},
      {"child named like its parent", "[a]\n[[a]]", "{[a]1{[a]2{}}}"},
      {"same name on different levels", "[a]\n[[b]]\n[b]", "{[a]1{[b]2{}} [b]1{}}"},
      {"same key in different sections", "[a]\nk=1\n[b]\nk=1", "{[a]1{'k'='1'} [b]1{'k'='1'}}"},
      {"no way back to the document level", "[a]\nk=1\n[[b]]\n[a2]\nx=2", "{[a]1{'k'='1' [b]2{}} [a2]1{'x'='2'}}"},
      {"NUL bytes are ordinary", std::string("k\0=v\0", 5), std::string("{'k\0'='v\0'}", 11)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseToDump(c.text), c.dump) << c.name;
}

TEST(IniDocument, ErrorsNameTheLine) {
  struct Case {
    const char* name;
    std::string text;
    std::string error;
  } cases[] = {
      {"subsection before any section", "[[b]]", "section with wrong depth on line #1"},
      {"two levels deeper", "[a]\n[[[c]]]", "section with wrong depth on line #2"},
      {"brackets only", "[[[[[[[[", "section with wrong depth on line #1"},
      {"repeated section", "[a]\n[a]", "duplicate section name on the same level on line #2"},
      {"repeated section after going up", "[a]\n[[b]]\n[a]", "duplicate section name on the same level on line #3"},
      {"repeated subsection", "[a]\n[[b]]\n[[b]]", "duplicate section name on the same level on line #3"},
      {"line without '='", "a=1\nb=2\nbroken", "no '=' found on line #3"},
      {"comments and blank lines are counted", "\n; c\n# c\n\r\n  \nbroken", "no '=' found on line #6"},
      {"two-digit line number", std::string(11, '\n') + "x", "no '=' found on line #12"},
      {"comment marker after blanks", "  # note", "no '=' found on line #1"},
      {"header behind a byte order mark", "\xEF\xBB\xBF[a]", "no '=' found on line #1"},
      {"repeated key", "game_version = 25\ngame_version = 25", "duplicated key found on line #2"},
      {"repeated key after trimming", "k = 1\r\n\tk=2\r\n", "duplicated key found on line #2"},
      {"repeated key in a section", "k=1\n[a]\nk=1\nk=2", "duplicated key found on line #4"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseToDump(c.text), "error: " + c.error) << c.name;
}

TEST(IniDocument, CrlfAndLfGiveTheSameDocument) {
  const std::string lf = "a=1\n; c\nb = x # y\n[s]\nk=v\n[[t]]\nz=\n\n[u]\nq = w";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ParseToDump(crlf), ParseToDump(lf));
  EXPECT_EQ(ParseToDump(crlf + "\r\n"), ParseToDump(lf));
}

TEST(IniDocument, SectionsKnowTheirParentsAndLookupsNeverFail) {
  IniDocument document;
  std::istringstream input("top=1\n[a]\n[[b]]\nk=2\n[d]\n");
  document.Parse(input);
  const IniSection& a = *document.root.sections.at("a");
  const IniSection& b = *a.sections.at("b");
  EXPECT_EQ(document.root.parent, nullptr);
  EXPECT_EQ(document.root.depth, 0u);
  EXPECT_EQ(a.parent, &document.root);
  EXPECT_EQ(b.parent, &a);
  EXPECT_EQ(document.root.sections.at("d")->parent, &document.root);
  EXPECT_EQ(document.lineNumber, 5u);
  EXPECT_EQ(document.root.Value("top"), "1");
  EXPECT_EQ(b.Value("k"), "2");
  EXPECT_EQ(document.root.Value("k"), "");
  EXPECT_EQ(document.root.Value("missing"), "");
}

}  // namespace
}  // namespace vexmor
