#include "platform/window/window.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/restore_request.h"

namespace vexmor::platform {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr int kLeft = -30;
constexpr int kTop = 40;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

// A window on SDL's offscreen driver with a back buffer of one colour, recording what happens.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    video_ = VideoSystem::Start(VideoDriver::Offscreen, error);
    ASSERT_TRUE(video_) << error;
    window_ = Window::Create(*video_, {"test", kLeft, kTop, kWidth, kHeight}, error);
    ASSERT_TRUE(window_) << error;
    window_->SetEventHandler([this](const WindowEvent& event) {
      events_.push_back(event);
      log_.push_back("event");
    });
    window_->SetPainter([this](const InvalidRegion& region) {
      paintedRegions_.push_back(region.Rects());
      paintedErase_.push_back(region.NeedsErase());
      log_.push_back("paint");
      return Argb32Pixels{backBuffer_.data(), kWidth, kHeight, kWidth * 4};
    });
    window_->Show();
    window_->PaintNow();
    log_.clear();
    paintedRegions_.clear();
    paintedErase_.clear();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  // Runs the loop until the first frame tick, logging it.
  void WaitForTick(int intervalMs = 10) {
    ASSERT_EQ(window_->WaitForFrame(intervalMs), WaitEnd::FrameDue);
    log_.push_back("tick");
  }

  void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

  SDL_Event Motion(int x, int y, Uint32 state) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = window_->SystemId();
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = state;
    return event;
  }

  SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = window_->SystemId();
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
  }

  SDL_Event WindowEventOf(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window_->SystemId();
    event.window.event = static_cast<Uint8>(id);
    return event;
  }

  std::uint32_t ScreenPixel(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(window_->SystemId()));
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    Uint32 pixel;
    std::memcpy(&pixel, row + x * 4, 4);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
  }

  std::unique_ptr<VideoSystem> video_;
  std::unique_ptr<Window> window_;
  std::vector<std::uint32_t> backBuffer_ = std::vector<std::uint32_t>(kWidth * kHeight, kRed);
  std::vector<WindowEvent> events_;
  std::vector<std::string> log_;
  std::vector<std::vector<PixelRect>> paintedRegions_;
  std::vector<bool> paintedErase_;
};

TEST_F(WindowTest, KeepsPositionAndSize) {
  EXPECT_EQ(window_->Left(), kLeft);
  EXPECT_EQ(window_->Top(), kTop);
  window_->Move(-100, -5);
  EXPECT_EQ(window_->Left(), -100);
  EXPECT_EQ(window_->Top(), -5);
  EXPECT_EQ(window_->Width(), kWidth);
  EXPECT_EQ(window_->Height(), kHeight);
}

TEST_F(WindowTest, TranslatesMouseAndWindowEvents) {
  Push(Motion(10, 20, SDL_BUTTON_LMASK));
  Push(Motion(-5, 300, 0));  // captured: outside the window
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 11, 21));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 1));  // not reported
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 12, 22));
  Push(WindowEventOf(SDL_WINDOWEVENT_LEAVE));
  SDL_Event otherWindow = Motion(1, 1, 0);
  otherWindow.motion.windowID = window_->SystemId() + 100;
  Push(otherWindow);
  ASSERT_TRUE(PostRestoreRequest());
  WaitForTick();

  const std::vector<WindowEvent> expected = {
      {WindowEventKind::MouseMove, 10, 20, kLeft + 10, kTop + 20, true},
      {WindowEventKind::MouseMove, -5, 300, kLeft - 5, kTop + 300, false},
      {WindowEventKind::LeftButtonDown, 11, 21, kLeft + 11, kTop + 21, false},
      {WindowEventKind::LeftButtonUp, 12, 22, kLeft + 12, kTop + 22, false},
      {WindowEventKind::MouseLeave, 0, 0, kLeft, kTop, false},
      {WindowEventKind::RestoreRequest, 0, 0, kLeft, kTop, false},
  };
  ASSERT_EQ(events_.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events_[i].kind, expected[i].kind);
    EXPECT_EQ(events_[i].x, expected[i].x);
    EXPECT_EQ(events_[i].y, expected[i].y);
    EXPECT_EQ(events_[i].screenX, expected[i].screenX);
    EXPECT_EQ(events_[i].screenY, expected[i].screenY);
    EXPECT_EQ(events_[i].leftButtonDown, expected[i].leftButtonDown);
  }
}

TEST_F(WindowTest, EventsKeepThePositionTheyWereMeasuredAgainst) {
  // A drag moves the window while later events are already queued: those lie relative to the
  // old place, and only events that come after the move lie relative to the new one.
  window_->SetEventHandler([this](const WindowEvent& event) {
    events_.push_back(event);
    if (events_.size() == 1) {
      window_->Move(kLeft + 50, kTop + 7);
      Push(Motion(10, 10, SDL_BUTTON_LMASK));
    }
    if (events_.size() == 3) window_->Move(kLeft + 80, kTop + 9);
  });
  Push(Motion(10, 10, SDL_BUTTON_LMASK));
  Push(Motion(11, 11, SDL_BUTTON_LMASK));
  WaitForTick();
  Push(Motion(12, 12, 0));
  WaitForTick();
  ASSERT_EQ(events_.size(), 4u);
  EXPECT_EQ(events_[0].screenX, kLeft + 10);
  EXPECT_EQ(events_[1].screenX, kLeft + 11);
  EXPECT_EQ(events_[1].screenY, kTop + 11);
  EXPECT_EQ(events_[2].screenX, kLeft + 60);
  EXPECT_EQ(events_[2].screenY, kTop + 17);
  EXPECT_EQ(events_[3].screenX, kLeft + 92);
  EXPECT_EQ(events_[3].screenY, kTop + 21);
}

TEST_F(WindowTest, CloseRequestsEndTheWait) {
  for (SDL_Event close : {WindowEventOf(SDL_WINDOWEVENT_CLOSE), SDL_Event{.type = SDL_QUIT}}) {
    events_.clear();
    Push(Motion(1, 1, 0));
    Push(close);
    Push(Motion(2, 2, 0));
    EXPECT_EQ(window_->WaitForFrame(1000), WaitEnd::Closed);
    ASSERT_EQ(events_.size(), 2u);
    EXPECT_EQ(events_[1].kind, WindowEventKind::CloseRequest);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
}

TEST_F(WindowTest, PaintsOnceWhenIdleAndOnlyWhenInvalid) {
  WaitForTick();
  EXPECT_EQ(log_, (std::vector<std::string>{"tick"}));

  log_.clear();
  window_->Invalidate({10, 10, 20, 20}, false);
  window_->Invalidate({50, 10, 60, 20}, true);
  Push(Motion(1, 1, 0));
  Push(Motion(2, 2, 0));
  WaitForTick();
  WaitForTick();
  // Events first, the paint once the queue is idle, then one interval later the tick.
  EXPECT_EQ(log_, (std::vector<std::string>{"event", "event", "paint", "tick", "tick"}));
  ASSERT_EQ(paintedRegions_.size(), 1u);
  EXPECT_EQ(paintedRegions_[0], (std::vector<PixelRect>{{10, 10, 20, 20}, {50, 10, 60, 20}}));
  EXPECT_TRUE(paintedErase_[0]);
}

TEST_F(WindowTest, InvalidationDuringPaintWaitsForTheNextPaint) {
  int paints = 0;
  window_->SetPainter([&](const InvalidRegion&) {
    if (++paints == 1) window_->Invalidate({0, 0, 5, 5}, false);
    return Argb32Pixels{backBuffer_.data(), kWidth, kHeight, kWidth * 4};
  });
  window_->Invalidate({0, 0, 10, 10}, false);
  WaitForTick();
  EXPECT_EQ(paints, 2);
}

TEST_F(WindowTest, CopiesOnlyTheInvalidRectangles) {
  window_->Invalidate({0, 0, kWidth, kHeight}, false);
  window_->PaintNow();
  ASSERT_EQ(ScreenPixel(0, 0), kRed);

  std::fill(backBuffer_.begin(), backBuffer_.end(), kBlue);
  window_->Invalidate({10, 20, 30, 40}, false);
  window_->Invalidate({150, 0, 200, 5}, false);
  window_->PaintNow();
  EXPECT_EQ(ScreenPixel(10, 20), kBlue);
  EXPECT_EQ(ScreenPixel(29, 39), kBlue);
  EXPECT_EQ(ScreenPixel(199, 4), kBlue);
  EXPECT_EQ(ScreenPixel(30, 39), kRed);
  EXPECT_EQ(ScreenPixel(29, 40), kRed);
  EXPECT_EQ(ScreenPixel(9, 20), kRed);
  EXPECT_EQ(ScreenPixel(199, 5), kRed);
}

TEST_F(WindowTest, ExposureRepaintsEverything) {
  Push(WindowEventOf(SDL_WINDOWEVENT_EXPOSED));
  WaitForTick();
  ASSERT_EQ(paintedRegions_.size(), 1u);
  EXPECT_EQ(paintedRegions_[0], (std::vector<PixelRect>{{0, 0, kWidth, kHeight}}));
  EXPECT_TRUE(events_.empty());
}

TEST_F(WindowTest, SteadyEventsPostponeTheFrameTick) {
  // Events 2 ms apart against a 60 ms interval: no tick may come before the stream ends.
  constexpr int kEvents = 40;
  std::atomic<int> pushed = 0;
  std::thread source([&] {
    for (int i = 0; i < kEvents; ++i) {
      SDL_Event event = Motion(i, 0, 0);
      SDL_PushEvent(&event);
      pushed = i + 1;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  while (pushed == 0) std::this_thread::yield();
  const WaitEnd end = window_->WaitForFrame(60);
  source.join();
  EXPECT_EQ(end, WaitEnd::FrameDue);
  ASSERT_EQ(events_.size(), static_cast<std::size_t>(kEvents));
  for (int i = 0; i < kEvents; ++i) EXPECT_EQ(events_[i].x, i);
}

}  // namespace
}  // namespace vexmor::platform
