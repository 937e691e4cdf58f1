#include "tools/publish/listed_path.h"

#include "support/paths/text.h"

namespace vexmor::publish {
namespace {

// Why one character cannot stand in a listed path; empty when it can.
std::string CharacterProblem(char c) {
  switch (c) {
    case '\t':
      return "contains a TAB, which separates the fields of the checksum list";
    case '\n':
      return "contains a line feed, which ends the records of the checksum list";
    case '\r':
      return "contains a carriage return, which the checksum list cannot carry";
    case '\\':
      return "contains a backslash, which the launcher would take as a folder separator";
    case ' ':
    case '#':
    case '?':
    case '%':
      return std::string("contains '") + c + "', which cannot stand unescaped in a download address";
    default:
      break;
  }
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte == 0x7F) return "contains a control character";
  return {};
}

}  // namespace

std::string ListedPathProblem(std::string_view path) {
  if (path.empty()) return "is empty";
  // The launcher reads listed paths as UTF-8; a sequence that does not survive the round trip
  // would name another file on the player's machine.
  if (WideToUtf8(AnsiToWide(path)) != path) return "is not valid UTF-8";
  for (char c : path) {
    if (std::string problem = CharacterProblem(c); !problem.empty()) return problem;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('/', start);
    const std::string_view part = path.substr(start, end - start);
    if (part.empty()) return "has an empty folder name";
    if (part == "." || part == "..") return "has a '" + std::string(part) + "' folder name";
    if (end == std::string_view::npos) return {};
    start = end + 1;
  }
}

}  // namespace vexmor::publish
