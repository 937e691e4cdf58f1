#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace vexmor {

// The state one transfer keeps between libcurl's progress reports: it publishes the received byte
// count to the caller's counters and decides when the transfer must stop (cancelled or stalled).
class TransferProgress {
 public:
  // A monotonic clock, so that setting the wall clock back or forth never looks like a stall.
  using Clock = std::chrono::steady_clock;

  TransferProgress(const std::atomic<bool>* cancelFlag, std::atomic<std::int64_t>* currentBytes,
                   std::atomic<std::int64_t>* accumulatedBytes, std::chrono::milliseconds stallTimeout,
                   Clock::time_point start);

  // Takes one report of the body bytes received so far; false means: abort the transfer.
  bool Report(std::int64_t received, Clock::time_point now);

 private:
  const std::atomic<bool>* cancelFlag_;
  std::atomic<std::int64_t>* currentBytes_;
  std::atomic<std::int64_t>* accumulatedBytes_;
  std::chrono::milliseconds stallTimeout_;
  std::int64_t lastReceived_ = 0;
  Clock::time_point lastProgress_;
};

}  // namespace vexmor
