#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas/geometry.h"
#include "platform/window/window.h"
#include "platform/window/window_event.h"

namespace vexmor {

struct LauncherWindow;
class Button;

// The widgets that receive the mouse in the window's current state, in routing order: the two
// answers of the question shown, else the header and link buttons, PLAY or CANCEL, PLAY LITE, the
// three news entries and, while the menu is open, its two entries.
std::vector<Button*> ActiveWidgets(const LauncherWindow& window);

// Even-odd rule over the polygon, its closing edge included; an empty polygon contains nothing.
bool InsideMenuShape(std::span<const platform::PointF> shape, std::int32_t x, std::int32_t y);

// Left button down at a window point; true when no widget took it, so the window is dragged.
// Closes the open menu when the press lies outside it and its button, also under the dialog.
bool OnMouseDown(LauncherWindow& window, std::int32_t x, std::int32_t y);
// Left button up: the dialog's answers only while it is shown; else the main widgets, then the
// menu closes unless the release fell on its button or inside it, then its entries if still open.
void OnMouseUp(LauncherWindow& window, std::int32_t x, std::int32_t y);
void OnMouseMove(LauncherWindow& window, std::int32_t x, std::int32_t y);

// The mouse has left the window: the buttons lose hover and press. The news entries keep theirs
// until the mouse comes back.
void ClearHoverOnLeave(LauncherWindow& window);

// The arrow under the dialog; the hand over a news entry in use; the arrow everywhere else.
platform::CursorStyle CursorFor(const LauncherWindow& window);

// One event of the system window: closing, restoring, dragging the window and routing the mouse.
// Widgets only record what happened; the frame tick acts on it.
void HandleWindowEvent(LauncherWindow& window, const platform::WindowEvent& event);

}  // namespace vexmor
