#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/window/invalid_region.h"
#include "platform/window/pixel_rect.h"
#include "platform/window/video_system.h"
#include "platform/window/window_event.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace vexmor::platform {

// Pixels in cairo's ARGB32 layout: 32-bit native-endian words, alpha premultiplied, rows
// `stride` bytes apart. The memory belongs to the caller.
struct Argb32Pixels {
  const void* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

struct WindowSettings {
  std::string title;  // UTF-8
  int left = 0;       // the position may be negative: the window may overhang the screen
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class CursorStyle { Arrow, Hand };

enum class WaitEnd {
  // One full frame interval passed without an event.
  FrameDue,
  // A close request was taken (and reported to the event handler).
  Closed,
};

// A borderless top-level window that is painted by the program from a back buffer of its own.
// Use it only on the thread that created it; other threads reach it through PostRestoreRequest.
class Window {
 public:
  using EventHandler = std::function<void(const WindowEvent&)>;
  // Composes the scene for a paint and returns the back buffer to show. Only the rectangles of
  // the region are copied to the screen.
  using Painter = std::function<Argb32Pixels(const InvalidRegion&)>;

  // Creates the window hidden. Null, with the reason in error, when it cannot be created.
  static std::unique_ptr<Window> Create(const VideoSystem& video, const WindowSettings& settings,
                                        std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void SetEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }
  void SetPainter(Painter painter) { painter_ = std::move(painter); }

  void SetTitle(const std::string& title);
  // The icon the desktop shows for the window (taskbar, switcher).
  void SetIcon(const Argb32Pixels& icon);
  void SetCursor(CursorStyle style);

  // Shows the window; all of it becomes invalid.
  void Show();
  // Moves the window, keeping its size.
  void Move(int left, int top);
  void Minimize();
  // Undoes a minimisation and brings the window to the front.
  void RestoreAndRaise();
  // Draws the user's attention until the window gets the focus.
  void Flash();
  // While captured, mouse events keep arriving when the pointer leaves the window. False when the
  // system refuses (for example when the window has no focus).
  bool CaptureMouse(bool capture);

  int Left() const;
  int Top() const;
  // The system's number for the window, for tests that inject events addressed to it.
  std::uint32_t SystemId() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Whether the pointer is over the window (or captured by it).
  bool HasMouseFocus() const;

  // Marks a rectangle for the next paint; with erase, the paint is told to clear the background.
  void Invalidate(PixelRect rect, bool erase);
  // Paints at once if anything is invalid, without waiting for the event queue to be idle.
  void PaintNow();
  // Waits for one frame interval, reporting events to the event handler as they come. Every event
  // taken starts the interval again, so the wait ends with FrameDue only after a full interval
  // without events; a steady stream of events postpones it. Whenever the queue is idle and
  // something is invalid, one paint runs first (and, like an event, starts the interval again).
  WaitEnd WaitForFrame(int frameIntervalMs);

 private:
  struct SdlOwners;

  Window(std::unique_ptr<SdlOwners> sdl, int width, int height);
  // True when the event was a close request.
  bool Dispatch(const SDL_Event& event);
  bool QueueIsIdle() const;
  void Paint();

  // Queued events that were measured against an earlier window position: the next `count`
  // events taken lie relative to (left, top). A drag moves the window while events measured
  // against the old place are still waiting.
  struct EarlierPosition {
    int count;
    int left;
    int top;
  };

  std::unique_ptr<SdlOwners> sdl_;
  std::deque<EarlierPosition> earlierPositions_;
  int width_;
  int height_;
  InvalidRegion invalid_;
  EventHandler eventHandler_;
  Painter painter_;
  SDL_Cursor* currentCursor_ = nullptr;
};

}  // namespace vexmor::platform
