#include "support/http/transfer_progress.h"

namespace vexmor {

TransferProgress::TransferProgress(const std::atomic<bool>* cancelFlag, std::atomic<std::int64_t>* currentBytes,
                                   std::atomic<std::int64_t>* accumulatedBytes,
                                   std::chrono::milliseconds stallTimeout, Clock::time_point start)
    : cancelFlag_(cancelFlag),
      currentBytes_(currentBytes),
      accumulatedBytes_(accumulatedBytes),
      stallTimeout_(stallTimeout),
      lastProgress_(start) {}

bool TransferProgress::Report(std::int64_t received, Clock::time_point now) {
  // The cancel flag only has to be seen eventually; it orders nothing else.
  if (cancelFlag_ && cancelFlag_->load(std::memory_order_relaxed)) return false;

  std::int64_t growth = 0;
  if (received > lastReceived_) {
    lastProgress_ = now;
    growth = received - lastReceived_;
  }
  if (now - lastProgress_ > stallTimeout_) return false;

  // A lower count (a redirect starts a new body) is taken as the base for the next growth.
  lastReceived_ = received;
  if (currentBytes_) currentBytes_->store(received, std::memory_order_relaxed);
  if (accumulatedBytes_ && growth > 0) accumulatedBytes_->fetch_add(growth, std::memory_order_relaxed);
  return true;
}

}  // namespace vexmor
