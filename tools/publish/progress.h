#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace vexmor::publish {

// Progress of a long piece of work in bytes, shown on stderr: one line rewritten in place on a
// terminal, otherwise a line every few seconds. Add may be called from any thread; Show and Finish
// only from the thread that created the meter.
class ProgressMeter {
 public:
  ProgressMeter(std::string label, std::int64_t totalBytes);

  void Add(std::int64_t bytes) { done_.fetch_add(bytes, std::memory_order_relaxed); }
  // Shows the state when enough time has passed since the last time.
  void Show();
  // Shows the final state and ends the line.
  void Finish();

 private:
  void Print(bool final);

  std::string label_;
  std::int64_t total_;
  std::atomic<std::int64_t> done_{0};
  bool terminal_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace vexmor::publish
