#pragma once

#include <memory>

#include "app/game_start.h"
#include "patcher/engine_config.h"
#include "platform/window/video_system.h"
#include "platform/window/window.h"

namespace vexmor {

struct LauncherWindow;

// The launcher's window on the screen: the window record with its engine, the system window it is
// painted into, and the message loop that ties input, frame ticks and paints together.
class LauncherShell {
 public:
  // Builds the engine, derives the geometry from the primary screen, loads the artwork, lays out
  // the widgets, makes the renderer and shows the window with its first paint. Throws
  // std::runtime_error "Failed to create window!", or the renderer's "No font!" / "No bold font!".
  LauncherShell(const platform::VideoSystem& video, EngineConfig config, ShellEffects effects);
  // The program ends without this (its worker is left to the process's end); a shell destroyed in
  // tests cancels its run and waits for it.
  ~LauncherShell();
  LauncherShell(const LauncherShell&) = delete;
  LauncherShell& operator=(const LauncherShell&) = delete;

  // Starts the first update, then alternates frame ticks and waits of one frame interval until the
  // window is closed.
  void RunMessageLoop();

  // One frame tick, and the repaints it asked for.
  void Tick();
  // Takes events (routing them) and paints until one frame interval passed without an event.
  platform::WaitEnd WaitForFrame();

  LauncherWindow& Window() { return *window_; }
  platform::Window& SystemWindow() { return *system_; }

 private:
  // Hands the repaints the widgets and the tick asked for on to the system window.
  void FlushRepaints();

  std::unique_ptr<LauncherWindow> window_;
  std::unique_ptr<platform::Window> system_;
  ShellEffects effects_;
};

}  // namespace vexmor
