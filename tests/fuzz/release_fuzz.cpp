// The nested INI reader and the release document over arbitrary bytes. Besides not crashing:
// - an error names one of the reader's four reasons and a line that exists;
// - a document's sections nest (each one level below its parent, parents consistent), its keys
//   and values are what the grammar can yield, and lineNumber counts every line;
// - writing the document out again and reading that back gives the same document;
// - CRLF line ends give the same document or the same error as LF;
// - ParseReleaseInfo succeeds exactly when the reader does, and leaves its record alone when not.

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "support/ini/ini_document.h"
#include "support/paths/text.h"
#include "support/release/release_info.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using vexmor::IniDocument;
using vexmor::IniSection;

struct ParseResult {
  bool ok = false;
  std::string error;
};

ParseResult Parse(std::string_view text, IniDocument& document) {
  std::istringstream input{std::string(text)};
  try {
    document.Parse(input);
    return {true, {}};
  } catch (const std::runtime_error& error) {
    return {false, error.what()};
  }
}

std::size_t LineCount(std::string_view text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines + (!text.empty() && text.back() != '\n');
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void CheckError(const std::string& error, std::size_t lineCount) {
  static constexpr std::string_view kReasons[] = {
      "section with wrong depth", "duplicate section name on the same level", "no '=' found",
      "duplicated key found"};
  const auto marker = error.rfind(" on line #");
  FUZZ_CHECK(marker != std::string::npos);
  bool known = false;
  for (std::string_view reason : kReasons) known = known || error.substr(0, marker) == reason;
  FUZZ_CHECK(known);
  const std::string number = error.substr(marker + 10);
  FUZZ_CHECK(!number.empty() && number.front() != '0' && number.size() <= 10);
  for (char c : number) FUZZ_CHECK(c >= '0' && c <= '9');
  const unsigned long line = std::stoul(number);
  FUZZ_CHECK(line >= 1 && line <= lineCount);
}

void CheckSection(const IniSection& section) {
  for (const auto& [key, value] : section.values) {
    FUZZ_CHECK(key.find('\n') == std::string::npos && key.find('=') == std::string::npos);
    FUZZ_CHECK(key.empty() || (!IsBlank(key.front()) && !IsBlank(key.back())));
    // The value is trimmed before its comment is cut off, so only its start is free of blanks.
    FUZZ_CHECK(value.find('\n') == std::string::npos && value.find('#') == std::string::npos);
    FUZZ_CHECK(value.empty() || !IsBlank(value.front()));
    FUZZ_CHECK(section.Value(key) == value);
  }
  for (const auto& [name, child] : section.sections) {
    FUZZ_CHECK(child != nullptr);
    FUZZ_CHECK(child->parent == &section);
    FUZZ_CHECK(child->depth == section.depth + 1);
    FUZZ_CHECK(name.find('\n') == std::string::npos);
    FUZZ_CHECK(name.empty() || name.front() != '[');
    CheckSection(*child);
  }
}

// Writes the section so that the reader yields it again: a blank before each key keeps a key that
// starts with "#" or ";" from reading as a comment, and a "#" after each value keeps the blanks at
// its end and any ";" in it.
void Write(const IniSection& section, std::string& out) {
  for (const auto& [key, value] : section.values) out += " " + key + "=" + value + "#\n";
  for (const auto& [name, child] : section.sections) {
    out += std::string(child->depth, '[') + name + std::string(child->depth, ']') + "\n";
    Write(*child, out);
  }
}

bool SameSection(const IniSection& a, const IniSection& b) {
  if (a.values != b.values || a.depth != b.depth || a.sections.size() != b.sections.size()) return false;
  for (const auto& [name, child] : a.sections) {
    const auto other = b.sections.find(name);
    if (other == b.sections.end() || !SameSection(*child, *other->second)) return false;
  }
  return true;
}

std::string WithCrlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

vexmor::ReleaseInfo Sentinel() {
  vexmor::ReleaseInfo release;
  release.gameVersion = -11;
  release.launcherVersion = -12;
  release.launcherSize = -13;
  release.launcherChecksum = "unchanged";
  release.announceVersion = -14;
  release.announceLink = "unchanged";
  release.websiteLink = "unchanged";
  release.forumLink = "unchanged";
  release.valid = true;
  return release;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  IniDocument document;
  const ParseResult parsed = Parse(text, document);
  if (parsed.ok) {
    FUZZ_CHECK(document.lineNumber == LineCount(text));
    FUZZ_CHECK(document.root.parent == nullptr && document.root.depth == 0);
    CheckSection(document.root);

    std::string written;
    Write(document.root, written);
    IniDocument reread;
    FUZZ_CHECK(Parse(written, reread).ok);
    FUZZ_CHECK(SameSection(document.root, reread.root));
  } else {
    CheckError(parsed.error, LineCount(text));
  }

  IniDocument crlf;
  const ParseResult parsedCrlf = Parse(WithCrlf(text), crlf);
  FUZZ_CHECK(parsedCrlf.ok == parsed.ok && parsedCrlf.error == parsed.error);
  if (parsed.ok) FUZZ_CHECK(SameSection(document.root, crlf.root));

  vexmor::ReleaseInfo release = Sentinel();
  FUZZ_CHECK(vexmor::ParseReleaseInfo(text, release) == parsed.ok);
  if (!parsed.ok) {
    FUZZ_CHECK(release == Sentinel());
  } else {
    FUZZ_CHECK(release.valid);
    FUZZ_CHECK(release.launcherChecksum == document.root.Value("launcher_checksum"));
    FUZZ_CHECK(release.forumLink == document.root.Value("forum_link"));
    FUZZ_CHECK(release.gameVersion == vexmor::ToIntOrZero(document.root.Value("game_version")));
    FUZZ_CHECK(release.launcherSize >= INT32_MIN && release.launcherSize <= INT32_MAX);
  }
  return 0;
}
