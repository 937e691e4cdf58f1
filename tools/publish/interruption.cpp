#include "tools/publish/interruption.h"

#include <atomic>
#include <csignal>

namespace vexmor::publish {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnSignal(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESETHAND;  // the second signal takes the default action
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return interrupted.load(std::memory_order_relaxed); }

}  // namespace vexmor::publish
