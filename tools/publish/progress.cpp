#include "tools/publish/progress.h"

#include <unistd.h>

#include <cstdio>

namespace vexmor::publish {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTerminalInterval = std::chrono::milliseconds(200);
constexpr auto kLogInterval = std::chrono::seconds(3);
constexpr double kMiB = 1024.0 * 1024.0;

}  // namespace

ProgressMeter::ProgressMeter(std::string label, std::int64_t totalBytes)
    : label_(std::move(label)),
      total_(totalBytes),
      terminal_(isatty(STDERR_FILENO) == 1),
      start_(Clock::now()),
      lastShown_(start_) {}

void ProgressMeter::Show() {
  if (total_ == 0) return;
  if (Clock::now() - lastShown_ < (terminal_ ? kTerminalInterval : kLogInterval)) return;
  Print(false);
}

void ProgressMeter::Finish() {
  if (total_ > 0) Print(true);  // there was nothing to show progress of
}

void ProgressMeter::Print(bool final) {
  lastShown_ = Clock::now();
  const std::int64_t done = done_.load(std::memory_order_relaxed);
  const double seconds = std::chrono::duration<double>(lastShown_ - start_).count();
  const double percent = total_ > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(total_) : 100.0;
  const double speed = seconds > 0 ? static_cast<double>(done) / kMiB / seconds : 0.0;
  std::fprintf(stderr, "%s%s %5.1f%%  %.1f / %.1f MiB  %.1f MiB/s  %.1f s", terminal_ ? "\r" : "",
               label_.c_str(), percent, static_cast<double>(done) / kMiB, static_cast<double>(total_) / kMiB,
               speed, seconds);
  // On a terminal the line is cleared to its end and rewritten until the work is done.
  if (terminal_) std::fputs("\x1b[K", stderr);
  if (!terminal_ || final) std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace vexmor::publish
