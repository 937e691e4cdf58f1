#pragma once

namespace vexmor::platform {

enum class WindowEventKind {
  MouseMove,
  LeftButtonDown,
  LeftButtonUp,
  // The pointer left the window (not reported while the mouse is captured).
  MouseLeave,
  // The system or the user asks the window to close.
  CloseRequest,
  // Another instance of the program asks this one to show its window.
  RestoreRequest,
};

// One input event. Positions are those of the event itself, never a later query of the pointer.
struct WindowEvent {
  WindowEventKind kind = WindowEventKind::MouseMove;
  // Relative to the window's top-left corner; may lie outside the window while the mouse is
  // captured.
  int x = 0;
  int y = 0;
  // On the screen: the window's position at the time the event is taken plus (x, y).
  int screenX = 0;
  int screenY = 0;
  // For moves: whether the left button is held.
  bool leftButtonDown = false;
};

}  // namespace vexmor::platform
