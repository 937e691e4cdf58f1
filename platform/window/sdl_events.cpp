#include "platform/window/sdl_events.h"

#include "platform/window/restore_request.h"

namespace vexmor::platform {

Uint32 RestoreRequestEventType() {
  static const Uint32 type = SDL_RegisterEvents(1);
  return type;
}

bool PostRestoreRequest() {
  const Uint32 type = RestoreRequestEventType();
  if (type == static_cast<Uint32>(-1)) return false;
  SDL_Event event{};
  event.type = type;
  return SDL_PushEvent(&event) == 1;
}

std::optional<WindowEvent> TranslateEvent(const SDL_Event& event, Uint32 windowId, int windowLeft,
                                          int windowTop) {
  auto at = [&](WindowEventKind kind, int x, int y) {
    return WindowEvent{kind, x, y, windowLeft + x, windowTop + y, false};
  };
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      if (event.motion.windowID != windowId) return std::nullopt;
      WindowEvent move = at(WindowEventKind::MouseMove, event.motion.x, event.motion.y);
      move.leftButtonDown = (event.motion.state & SDL_BUTTON_LMASK) != 0;
      return move;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.windowID != windowId || event.button.button != SDL_BUTTON_LEFT) {
        return std::nullopt;
      }
      return at(event.type == SDL_MOUSEBUTTONDOWN ? WindowEventKind::LeftButtonDown
                                                  : WindowEventKind::LeftButtonUp,
                event.button.x, event.button.y);
    case SDL_WINDOWEVENT:
      if (event.window.windowID != windowId) return std::nullopt;
      if (event.window.event == SDL_WINDOWEVENT_LEAVE) return at(WindowEventKind::MouseLeave, 0, 0);
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) return at(WindowEventKind::CloseRequest, 0, 0);
      return std::nullopt;
    case SDL_QUIT:
      return at(WindowEventKind::CloseRequest, 0, 0);
    default:
      if (event.type == RestoreRequestEventType()) return at(WindowEventKind::RestoreRequest, 0, 0);
      return std::nullopt;
  }
}

}  // namespace vexmor::platform
