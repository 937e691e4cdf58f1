#include "tools/publish/arguments.h"

#include <algorithm>
#include <charconv>

namespace vexmor::publish {

bool Options::Has(std::string_view name) const { return values_.find(name) != values_.end(); }

std::string Options::Get(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::string() : found->second.front();
}

std::vector<std::string> Options::All(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::vector<std::string>() : found->second;
}

void Options::Add(std::string_view name, std::string value) {
  values_[std::string(name)].push_back(std::move(value));
}

std::string ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                         Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) return "unexpected argument '" + arg + "'";
    const std::string_view name = std::string_view(arg).substr(2);
    const auto spec =
        std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& s) { return s.name == name; });
    if (spec == specs.end()) return "unknown option '" + arg + "'";
    if (i + 1 >= args.size()) return "option '" + arg + "' needs a value";
    if (!spec->repeatable && options.Has(name)) return "option '" + arg + "' is given twice";
    options.Add(name, args[++i]);
  }
  return {};
}

std::optional<std::int32_t> ParsePositiveNumber(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vexmor::publish
