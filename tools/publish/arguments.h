#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexmor::publish {

// An option a command accepts, written "--name value" on the command line.
struct OptionSpec {
  std::string_view name;
  bool repeatable = false;
};

// The options of one command, by name without the leading dashes.
class Options {
 public:
  bool Has(std::string_view name) const;
  // The value of an option given once; empty when absent.
  std::string Get(std::string_view name) const;
  // Every value of an option, in command-line order.
  std::vector<std::string> All(std::string_view name) const;

  void Add(std::string_view name, std::string value);

 private:
  std::map<std::string, std::vector<std::string>, std::less<>> values_;
};

// Reads "--name value" pairs into options. Returns the problem with the arguments, empty when
// every argument was a known option with its value.
std::string ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                         Options& options);

// A decimal number from 1 to 2147483647 with nothing around it, or nothing.
std::optional<std::int32_t> ParsePositiveNumber(std::string_view text);

}  // namespace vexmor::publish
