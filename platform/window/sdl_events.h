#pragma once

#include <optional>

#include <SDL.h>

#include "platform/window/window_event.h"

namespace vexmor::platform {

// The SDL event type that carries a restore request between threads.
Uint32 RestoreRequestEventType();

// Our event for an SDL event addressed to the window with the given id, which lies at
// (windowLeft, windowTop) on the screen. Empty for events the window does not report.
std::optional<WindowEvent> TranslateEvent(const SDL_Event& event, Uint32 windowId, int windowLeft,
                                          int windowTop);

}  // namespace vexmor::platform
