#include "support/ini/ini_document.h"

#include <stdexcept>
#include <string_view>

namespace vexmor {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The value after '=': trimmed, then cut at an inline comment ("#" wins over ";"). The blanks
// before the comment marker stay.
std::string_view CutComment(std::string_view value) {
  auto cut = value.find('#');
  if (cut == std::string_view::npos) cut = value.find(';');
  return value.substr(0, cut);
}

}  // namespace

std::string IniSection::Value(const std::string& key) const {
  const auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

void IniDocument::Parse(std::istream& input) {
  IniSection* current = &root;
  auto fail = [this](const char* reason) {
    throw std::runtime_error(std::string(reason) + " on line #" + std::to_string(lineNumber));
  };

  while (std::getline(input, line)) {
    ++lineNumber;
    if (!line.empty() && (line[0] == '#' || line[0] == ';')) continue;
    const std::string_view text = Trim(line);
    if (text.empty()) continue;

    if (text[0] == '[') {
      const std::size_t depth = text.find_first_not_of('[') == std::string_view::npos
                                    ? text.size()
                                    : text.find_first_not_of('[');
      // The closing brackets are assumed, never examined.
      const std::string name(text.size() >= 2 * depth ? text.substr(depth, text.size() - 2 * depth)
                                                      : text.substr(depth));
      if (depth > current->depth + 1) fail("section with wrong depth");
      IniSection* parent = current;
      for (std::size_t level = current->depth + 1; level > depth; --level) parent = parent->parent;
      auto& section = parent->sections[name];
      if (!section) section = std::make_unique<IniSection>();
      if (section->depth != 0) fail("duplicate section name on the same level");
      section->depth = static_cast<unsigned>(depth);
      section->parent = parent;
      current = section.get();
      continue;
    }

    const auto equals = text.find('=');
    if (equals == std::string_view::npos) fail("no '=' found");
    std::string key(Trim(text.substr(0, equals)));
    std::string value(CutComment(Trim(text.substr(equals + 1))));
    if (!current->values.emplace(std::move(key), std::move(value)).second) fail("duplicated key found");
  }
}

}  // namespace vexmor
