#include "platform/window/video_system.h"

#include <string_view>

#include <SDL.h>

namespace vexmor::platform {

std::unique_ptr<VideoSystem> VideoSystem::Start(VideoDriver driver, std::string& error) {
  if (driver == VideoDriver::Offscreen) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  } else {
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  }
  // A launcher is an ordinary desktop window: it must neither keep the screen saver away nor
  // switch off the desktop's compositor while it is shown.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  // Without a display SDL falls back to a driver that shows nothing; a window there would run
  // where nobody can see or close it.
  const std::string_view chosen = SDL_GetCurrentVideoDriver();
  if (driver == VideoDriver::System && (chosen == "offscreen" || chosen == "dummy")) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    error = "no display to show a window on";
    return nullptr;
  }
  return std::unique_ptr<VideoSystem>(new VideoSystem());
}

VideoSystem::~VideoSystem() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // The last user of SDL also releases what SDL keeps for the whole process (its D-Bus
  // connection among others).
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

std::optional<DisplayMode> VideoSystem::PrimaryDisplay() const {
  SDL_DisplayMode mode;
  if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return std::nullopt;
  return DisplayMode{mode.w, mode.h, mode.refresh_rate};
}

}  // namespace vexmor::platform
