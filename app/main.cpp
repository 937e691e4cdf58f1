#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/built_in_engine_config.h"
#include "app/command_line.h"
#include "app/error_window.h"
#include "app/game_start.h"
#include "app/headless_mode.h"
#include "app/launcher_shell.h"
#include "platform/system/single_instance.h"
#include "platform/window/restore_request.h"
#include "platform/window/video_system.h"

#if defined(__SANITIZE_THREAD__)
// Pango matches fonts with fontconfig on a GLib worker thread and waits for it with GLib's own
// futex-based locks, which the thread checker does not see; it reports the hand-over as a race.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libpangoft2-1.0.so\n"
         "race:libfontconfig.so\n";
}
#endif
#if defined(__SANITIZE_ADDRESS__)
// libdbus, which SDL uses, keeps a buffer for the whole process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

namespace {

constexpr const char* kOtherInstanceText = "Please close any previous instances of this program and try again";

// A failure before the window runs: in a window of its own, or on standard error without a display.
void ReportStartFailure(const vexmor::platform::VideoSystem* video, const std::string& text) {
  if (video && vexmor::ShowErrorWindow(*video, text)) return;
  std::cerr << vexmor::kErrorWindowTitle << ": " << text << '\n';
}

// Ends the process once the window is closed, also while an update still works: the run is
// neither told nor awaited, and an interrupted update is redone at the next start. Nothing is torn
// down, so no object can vanish under the worker.
[[noreturn]] void EndProcess() {
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto line = vexmor::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!line) {
    std::cerr << "vexmor-launcher: " << error << "\nusage: vexmor-launcher [-multiwindow] [--headless [--repair] [--yes | --no]]\n";
    return 2;
  }
  if (line->headless) return vexmor::RunHeadless(line->headlessOptions, vexmor::BuiltInEngineConfig());

  std::unique_ptr<vexmor::platform::VideoSystem> video;
  std::unique_ptr<vexmor::LauncherShell> shell;
  try {
    vexmor::platform::SingleInstance instance(vexmor::platform::kInstanceName);
    if (instance.Status() == vexmor::platform::InstanceStatus::OtherNotAnswering) {
      video = vexmor::platform::VideoSystem::Start(vexmor::platform::VideoDriver::System, error);
      ReportStartFailure(video.get(), kOtherInstanceText);
      return 0;
    }
    // The other launcher has been asked to show its window; this one opens a window only on request.
    if (instance.Status() == vexmor::platform::InstanceStatus::OtherRaised && !line->multiWindow) return 0;

    video = vexmor::platform::VideoSystem::Start(vexmor::platform::VideoDriver::System, error);
    if (!video) {
      std::cerr << vexmor::kErrorWindowTitle << ": Failed to create window! (" << error << ")\n";
      return 0;
    }
    shell = std::make_unique<vexmor::LauncherShell>(*video, vexmor::BuiltInEngineConfig(), vexmor::SystemEffects());
    instance.ServeRestoreRequests([] { vexmor::platform::PostRestoreRequest(); });
    try {
      shell->RunMessageLoop();
    } catch (...) {
      // A failure inside the loop (no thread for the update) ends the program like a close.
    }
    EndProcess();
  } catch (const std::exception& failure) {
    shell.reset();
    ReportStartFailure(video.get(), failure.what());
  } catch (...) {
    shell.reset();
    ReportStartFailure(video.get(), "Unexpected error");
  }
  return 0;
}
