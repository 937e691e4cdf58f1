#include "platform/window/window.h"

#include <vector>

#include <SDL.h>

#include "platform/window/sdl_events.h"
#include "platform/window/sdl_handles.h"
#include "platform/window/straight_alpha.h"

namespace vexmor::platform {

struct Window::SdlOwners {
  SdlWindowPtr window;
  SdlCursorPtr arrow;
  SdlCursorPtr hand;
};

std::unique_ptr<Window> Window::Create(const VideoSystem& /*video*/, const WindowSettings& settings,
                                       std::string& error) {
  // Without this SDL may turn the window surface into a texture, and every partial update
  // would redraw the whole window.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  auto sdl = std::make_unique<SdlOwners>();
  sdl->window.reset(SDL_CreateWindow(settings.title.c_str(), settings.left, settings.top,
                                     settings.width, settings.height,
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN));
  if (!sdl->window) {
    error = SDL_GetError();
    return nullptr;
  }
  // Drivers without cursors (the offscreen one) give none; SetCursor then does nothing.
  sdl->arrow.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW));
  sdl->hand.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND));
  RestoreRequestEventType();  // registered before any other thread can post one
  return std::unique_ptr<Window>(new Window(std::move(sdl), settings.width, settings.height));
}

Window::Window(std::unique_ptr<SdlOwners> sdl, int width, int height)
    : sdl_(std::move(sdl)), width_(width), height_(height), invalid_({0, 0, width, height}) {}

Window::~Window() = default;

void Window::SetTitle(const std::string& title) { SDL_SetWindowTitle(sdl_->window.get(), title.c_str()); }

void Window::SetIcon(const Argb32Pixels& icon) {
  // SDL wants straight alpha; the pixels come premultiplied.
  SdlSurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, icon.width, icon.height, 32,
                                                       SDL_PIXELFORMAT_ARGB8888));
  if (!surface) return;  // no memory for an icon: the window keeps the default one
  for (int y = 0; y < icon.height; ++y) {
    const auto* from = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(icon.data) + y * icon.stride);
    auto* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < icon.width; ++x) to[x] = StraightAlpha(from[x]);
  }
  SDL_SetWindowIcon(sdl_->window.get(), surface.get());
}

void Window::SetCursor(CursorStyle style) {
  SDL_Cursor* cursor = (style == CursorStyle::Hand ? sdl_->hand : sdl_->arrow).get();
  if (!cursor || cursor == currentCursor_) return;
  SDL_SetCursor(cursor);
  currentCursor_ = cursor;
}

void Window::Show() {
  SDL_ShowWindow(sdl_->window.get());
  Invalidate({0, 0, width_, height_}, true);
}

void Window::Move(int left, int top) {
  SDL_Window* window = sdl_->window.get();
  int oldLeft = 0;
  int oldTop = 0;
  SDL_GetWindowPosition(window, &oldLeft, &oldTop);
  SDL_SetWindowPosition(window, left, top);
  // SDL waits for the system to carry out the move; every event the system produced before it
  // is now in the queue, positioned against the old place.
  SDL_PumpEvents();
  int queued = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  for (const EarlierPosition& earlier : earlierPositions_) queued -= earlier.count;
  if (queued > 0) earlierPositions_.push_back({queued, oldLeft, oldTop});
}

void Window::Minimize() { SDL_MinimizeWindow(sdl_->window.get()); }

void Window::RestoreAndRaise() {
  SDL_RestoreWindow(sdl_->window.get());
  SDL_RaiseWindow(sdl_->window.get());
}

void Window::Flash() { SDL_FlashWindow(sdl_->window.get(), SDL_FLASH_UNTIL_FOCUSED); }

bool Window::CaptureMouse(bool capture) { return SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE) == 0; }

int Window::Left() const {
  int left = 0;
  SDL_GetWindowPosition(sdl_->window.get(), &left, nullptr);
  return left;
}

int Window::Top() const {
  int top = 0;
  SDL_GetWindowPosition(sdl_->window.get(), nullptr, &top);
  return top;
}

std::uint32_t Window::SystemId() const { return SDL_GetWindowID(sdl_->window.get()); }

bool Window::HasMouseFocus() const { return SDL_GetMouseFocus() == sdl_->window.get(); }

void Window::Invalidate(PixelRect rect, bool erase) { invalid_.Add(rect, erase); }

void Window::PaintNow() {
  if (!invalid_.IsEmpty()) Paint();
}

WaitEnd Window::WaitForFrame(int frameIntervalMs) {
  // A timeout of 0 would only poll.
  const int timeout = frameIntervalMs > 0 ? frameIntervalMs : 1;
  for (;;) {
    // A paint counts as something taken from the queue: the interval starts again after it, and
    // what the painter invalidated is painted before the next wait.
    if (!invalid_.IsEmpty() && QueueIsIdle()) {
      Paint();
      continue;
    }
    SDL_Event event;
    // SDL reports errors of the wait like a timeout; a tick is the right answer to both.
    if (SDL_WaitEventTimeout(&event, timeout) == 0) return WaitEnd::FrameDue;
    if (Dispatch(event)) return WaitEnd::Closed;
  }
}

bool Window::Dispatch(const SDL_Event& event) {
  SDL_Window* window = sdl_->window.get();
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  if (!earlierPositions_.empty()) {
    EarlierPosition& earlier = earlierPositions_.front();
    left = earlier.left;
    top = earlier.top;
    if (--earlier.count == 0) earlierPositions_.pop_front();
  }
  const Uint32 id = SDL_GetWindowID(window);
  if (event.type == SDL_WINDOWEVENT && event.window.windowID == id &&
      (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
    // The system lost what was shown; the next paint copies the whole back buffer again.
    Invalidate({0, 0, width_, height_}, false);
    return false;
  }
  const auto translated = TranslateEvent(event, id, left, top);
  if (!translated) return false;
  if (eventHandler_) eventHandler_(*translated);
  return translated->kind == WindowEventKind::CloseRequest;
}

bool Window::QueueIsIdle() const {
  SDL_PumpEvents();
  return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_FALSE;
}

void Window::Paint() {
  // Invalidations made while painting belong to the next paint.
  InvalidRegion region = invalid_;
  invalid_.Clear();
  if (!painter_) return;
  const Argb32Pixels pixels = painter_(region);
  SDL_Window* window = sdl_->window.get();
  // A window surface or a wrapper that cannot be had (no memory, lost display) leaves the screen
  // as it was; the next exposure or invalidation paints again.
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target || !pixels.data) return;
  SdlSurfacePtr source(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<void*>(pixels.data), pixels.width,
                                                          pixels.height, 32, pixels.stride,
                                                          SDL_PIXELFORMAT_ARGB8888));
  if (!source) return;
  SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
  std::vector<SDL_Rect> rects;
  rects.reserve(region.Rects().size());
  for (const PixelRect& r : region.Rects()) {
    SDL_Rect from{r.left, r.top, r.Width(), r.Height()};
    SDL_Rect to = from;
    SDL_BlitSurface(source.get(), &from, target, &to);
    rects.push_back(from);
  }
  SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size()));
}

}  // namespace vexmor::platform
