#include "app/launcher_shell.h"

#include <optional>
#include <stdexcept>

#include "app/frame_tick.h"
#include "app/input_routing.h"
#include "app/window_geometry.h"
#include "patcher/patcher.h"
#include "platform/canvas/bitmap.h"
#include "resources/resources.h"
#include "support/paths/text.h"
#include "ui/launcher_window.h"
#include "ui/layout.h"
#include "ui/renderer.h"
#include "ui/scene.h"

namespace vexmor {
namespace {

constexpr int kWindowIconPixels = 64;

void ApplyGeometry(LauncherWindow& w, const platform::VideoSystem& video) {
  const std::optional<platform::DisplayMode> display = video.PrimaryDisplay();
  // Without a readable display the window gets its minimum size, centred on an empty screen.
  w.screenWidth = display ? display->width : 0;
  w.screenHeight = display ? display->height : 0;
  const std::optional<std::int32_t> rate =
      display && display->refreshRate > 0 ? std::optional(display->refreshRate) : std::nullopt;
  const WindowGeometry g = ComputeWindowGeometry(w.screenWidth, w.screenHeight, rate);
  w.refreshRate = g.refreshRate;
  w.frameIntervalMs = g.frameIntervalMs;
  w.width = g.width;
  w.height = g.height;
  w.scale = g.scale;
  w.left = g.left;
  w.top = g.top;
}

void SetWindowIcon(platform::Window& window) {
  const auto png = FindIconImage(kIconResourceId, kWindowIconPixels);
  const auto icon = platform::Bitmap::DecodePng(png);
  if (!icon) return;  // the desktop shows its default icon
  const auto pixels = icon->Pixels();
  window.SetIcon({pixels.data, pixels.width, pixels.height, pixels.stride});
}

}  // namespace

LauncherShell::LauncherShell(const platform::VideoSystem& video, EngineConfig config, ShellEffects effects)
    : window_(std::make_unique<LauncherWindow>()), effects_(std::move(effects)) {
  LauncherWindow& w = *window_;
  w.patcher = std::make_unique<Patcher>(std::move(config));
  ApplyGeometry(w, video);
  LoadResources(w);
  BuildLayout(w);
  CreateRenderer(w);

  std::string error;
  system_ = platform::Window::Create(video, {WideToUtf8(w.title), w.left, w.top, w.width, w.height}, error);
  if (!system_) throw std::runtime_error("Failed to create window!");
  w.hwnd = system_.get();
  SetWindowIcon(*system_);
  system_->SetEventHandler([this](const platform::WindowEvent& event) {
    HandleWindowEvent(*window_, event);
    FlushRepaints();
  });
  system_->SetPainter([this](const platform::InvalidRegion&) {
    PaintScene(*window_);
    const auto pixels = window_->renderer->backBuffer.Pixels();
    return platform::Argb32Pixels{pixels.data, pixels.width, pixels.height, pixels.stride};
  });
  system_->Show();
  system_->PaintNow();
  w.running = true;
}

LauncherShell::~LauncherShell() { StopUpdateWorker(*window_); }

void LauncherShell::RunMessageLoop() {
  StartUpdate(*window_, false);
  FlushRepaints();
  while (window_->running) {
    Tick();
    WaitForFrame();
  }
}

void LauncherShell::Tick() {
  UpdateFrame(*window_, effects_);
  FlushRepaints();
}

platform::WaitEnd LauncherShell::WaitForFrame() { return system_->WaitForFrame(window_->frameIntervalMs); }

void LauncherShell::FlushRepaints() {
  for (const auto& area : window_->dirtyRects.areas) {
    system_->Invalidate({area.rect.left, area.rect.top, area.rect.right, area.rect.bottom}, area.erase);
  }
  window_->dirtyRects.Clear();
}

}  // namespace vexmor
