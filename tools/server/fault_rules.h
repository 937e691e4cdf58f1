#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "tools/server/fault.h"

namespace vexmor {

// The faults a server injects, by request path; safe to change while requests are served.
// A pattern is an exact request path ("/new_launcher/latest.txt"), or a prefix when it ends in '*'
// ("/new_launcher/files/*"). An exact rule wins over prefixes; among prefixes the longest wins.
class FaultRules {
 public:
  void Set(const std::string& pattern, Fault fault);
  void Clear(const std::string& pattern);
  void ClearAll();
  std::optional<Fault> Find(std::string_view path) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, Fault> rules_;
};

}  // namespace vexmor
