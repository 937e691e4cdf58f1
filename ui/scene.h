#pragma once

namespace vexmor {

struct LauncherWindow;

// Composes the whole scene for the window's current state into the renderer's back buffer, in
// z-order: background, header strip, top and link buttons, PLAY or CANCEL, PLAY LITE, news, menu,
// progress bars, status or launcher-update box, title, question dialog. Reads state only; the
// shell copies the back buffer's invalid parts to the screen.
void PaintScene(const LauncherWindow& window);

}  // namespace vexmor
