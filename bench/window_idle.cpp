// An empty launcher-sized window running the frame loop, as the launcher does while nothing
// happens: prints the frame ticks per second and the CPU time the process used.
//   window_idle [seconds] [frame interval in ms]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/window/window.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vexmor::platform;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  const int intervalMs = argc > 2 ? std::atoi(argv[2]) : 16;
  std::string error;
  auto video = VideoSystem::Start(VideoDriver::System, error);
  auto window = video ? Window::Create(*video, {"idle", 0, 0, 960, 540}, error) : nullptr;
  if (!window) {
    std::fprintf(stderr, "cannot create the window: %s\n", error.c_str());
    return 1;
  }
  window->Show();
  window->PaintNow();

  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds();
  long ticks = 0;
  double elapsed = 0;
  while (elapsed < seconds) {
    if (window->WaitForFrame(intervalMs) == WaitEnd::FrameDue) ++ticks;
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double cpu = CpuSeconds() - cpuStart;
  std::printf("interval %d ms: %.1f ticks/s, CPU %.2f %% of one core (%.3f s in %.1f s)\n", intervalMs,
              ticks / elapsed, 100.0 * cpu / elapsed, cpu, elapsed);
  return 0;
}
