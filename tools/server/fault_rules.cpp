#include "tools/server/fault_rules.h"

namespace vexmor {

void FaultRules::Set(const std::string& pattern, Fault fault) {
  std::lock_guard lock(mutex_);
  rules_.insert_or_assign(pattern, std::move(fault));
}

void FaultRules::Clear(const std::string& pattern) {
  std::lock_guard lock(mutex_);
  rules_.erase(pattern);
}

void FaultRules::ClearAll() {
  std::lock_guard lock(mutex_);
  rules_.clear();
}

std::optional<Fault> FaultRules::Find(std::string_view path) const {
  std::lock_guard lock(mutex_);
  const Fault* best = nullptr;
  std::size_t bestLength = 0;
  for (const auto& [pattern, fault] : rules_) {
    if (pattern == path) return fault;
    if (pattern.ends_with('*')) {
      const std::string_view prefix = std::string_view(pattern).substr(0, pattern.size() - 1);
      if (path.starts_with(prefix) && (!best || prefix.size() > bestLength)) {
        best = &fault;
        bestLength = prefix.size();
      }
    }
  }
  if (!best) return std::nullopt;
  return *best;
}

}  // namespace vexmor
