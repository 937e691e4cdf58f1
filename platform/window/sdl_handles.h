#pragma once

#include <memory>

#include <SDL.h>

namespace vexmor::platform {

// Owners of SDL objects; each frees its object with the matching SDL call.
struct SdlWindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct SdlSurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
struct SdlCursorDeleter {
  void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
};

using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;
using SdlCursorPtr = std::unique_ptr<SDL_Cursor, SdlCursorDeleter>;

}  // namespace vexmor::platform
