#pragma once

#include <istream>
#include <memory>
#include <string>
#include <unordered_map>

namespace vexmor {

// One level of a nested INI document. Keys and names are compared byte for byte.
struct IniSection {
  std::unordered_map<std::string, std::string> values;
  // Held by pointer so that a section's address, which its children keep as parent, never moves.
  std::unordered_map<std::string, std::unique_ptr<IniSection>> sections;
  IniSection* parent = nullptr;  // null for the document level
  unsigned depth = 0;            // 0 for the document level, else the header's count of '['

  // The stored value, or an empty text when the section has no such key.
  std::string Value(const std::string& key) const;
};

// A document in the INI dialect of the release information, where the number of brackets of a
// header gives the section's depth ('[a]' then '[[b]]' for a subsection b of a).
struct IniDocument {
  IniDocument() = default;
  IniDocument(const IniDocument&) = delete;  // sections point at their parents
  IniDocument& operator=(const IniDocument&) = delete;

  // Reads the stream to its end. A malformed line throws std::runtime_error with the reason and
  // " on line #N"; the caller then discards the partly built document.
  void Parse(std::istream& input);

  IniSection root;
  std::string line;         // the line being parsed
  unsigned lineNumber = 0;  // lines read so far, counting comments and blank lines
};

}  // namespace vexmor
