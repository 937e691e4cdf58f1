// The window on a real X server (Xvfb): what reaches the screen, and real pointer input.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/restore_request.h"
#include "platform/window/window.h"
#include "tests/platform/xvfb_display.h"

// Last: Xlib defines macros that clash with ordinary names.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <SDL.h>
#include <SDL_syswm.h>

// libdbus, which SDL opens on X11, keeps a buffer of its own until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace vexmor::platform {
namespace {

constexpr int kLeft = 100;
constexpr int kTop = 50;
constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

class X11WindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { display_ = new test::XvfbDisplay(1280, 720); }
  static void TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
  }

  void SetUp() override {
    std::string error;
    video_ = VideoSystem::Start(VideoDriver::System, error);
    ASSERT_TRUE(video_) << error;
    window_ = Window::Create(*video_, {"x11 test", kLeft, kTop, kWidth, kHeight}, error);
    ASSERT_TRUE(window_) << error;
    window_->SetPainter([this](const InvalidRegion&) {
      return Argb32Pixels{backBuffer_.data(), kWidth, kHeight, kWidth * 4};
    });
    window_->Show();
    // Let the server's first exposure arrive and be painted.
    window_->WaitForFrame(50);
  }

  // The colour the X server shows at a point of the screen.
  static std::uint32_t ScreenPixel(int x, int y) {
    std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(display_->Name().c_str()), XCloseDisplay);
    // XDestroyImage is a macro, so it cannot be the deleter itself.
    auto destroy = [](XImage* image) { XDestroyImage(image); };
    std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(display.get(), DefaultRootWindow(display.get()), x, y, 1, 1, AllPlanes, ZPixmap));
    return 0xFF000000u | (XGetPixel(image.get(), 0, 0) & 0xFFFFFF);
  }

  // Runs the loop until the condition holds, or a few seconds passed; returns the condition.
  template <typename Condition>
  bool RunUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition() && std::chrono::steady_clock::now() < deadline) window_->WaitForFrame(10);
    return condition();
  }

  // Runs the loop until the handler has seen an event of the kind.
  void RunUntil(const std::vector<WindowEvent>& events, WindowEventKind kind) {
    RunUntil([&] {
      for (const auto& event : events) {
        if (event.kind == kind) return true;
      }
      return false;
    });
  }

  bool HasFlag(Uint32 flag) const {
    return (SDL_GetWindowFlags(SDL_GetWindowFromID(window_->SystemId())) & flag) != 0;
  }

  // The X window behind ours, and a connection of the test's own to look at it.
  ::Window XWindow() const {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_GetWindowWMInfo(SDL_GetWindowFromID(window_->SystemId()), &info);
    return info.info.x11.window;
  }

  static std::unique_ptr<Display, int (*)(Display*)> OpenDisplay() {
    return {XOpenDisplay(display_->Name().c_str()), XCloseDisplay};
  }

  static test::XvfbDisplay* display_;
  std::unique_ptr<VideoSystem> video_;
  std::unique_ptr<Window> window_;
  std::vector<std::uint32_t> backBuffer_ = std::vector<std::uint32_t>(kWidth * kHeight, kRed);
};

test::XvfbDisplay* X11WindowTest::display_ = nullptr;

TEST_F(X11WindowTest, ReadsThePrimaryDisplay) {
  const auto mode = video_->PrimaryDisplay();
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->width, 1280);
  EXPECT_EQ(mode->height, 720);
}

TEST_F(X11WindowTest, PartialUpdateChangesOnlyTheInvalidRectangles) {
  ASSERT_EQ(ScreenPixel(kLeft, kTop), kRed);
  ASSERT_EQ(ScreenPixel(kLeft + kWidth - 1, kTop + kHeight - 1), kRed);

  std::fill(backBuffer_.begin(), backBuffer_.end(), kBlue);
  window_->Invalidate({10, 20, 30, 40}, false);
  window_->PaintNow();
  EXPECT_EQ(ScreenPixel(kLeft + 10, kTop + 20), kBlue);
  EXPECT_EQ(ScreenPixel(kLeft + 29, kTop + 39), kBlue);
  EXPECT_EQ(ScreenPixel(kLeft + 30, kTop + 39), kRed);
  EXPECT_EQ(ScreenPixel(kLeft + 29, kTop + 40), kRed);
  EXPECT_EQ(ScreenPixel(kLeft, kTop), kRed);
}

TEST_F(X11WindowTest, PointerInputAndDraggingFollowTheEvents) {
  // The handler drags the window the way the launcher does: by the event's screen position
  // minus the point grabbed.
  std::vector<WindowEvent> events;
  int anchorX = 0;
  int anchorY = 0;
  window_->SetEventHandler([&](const WindowEvent& event) {
    events.push_back(event);
    if (event.kind == WindowEventKind::LeftButtonDown) {
      anchorX = event.x;
      anchorY = event.y;
    }
    if (event.kind == WindowEventKind::MouseMove && event.leftButtonDown) {
      window_->Move(event.screenX - anchorX, event.screenY - anchorY);
    }
  });
  ASSERT_TRUE(test::RunXdotool("mousemove 110 60 mousedown 1"));
  RunUntil(events, WindowEventKind::LeftButtonDown);
  EXPECT_TRUE(window_->HasMouseFocus());
  ASSERT_TRUE(test::RunXdotool("mousemove 150 90 mousemove 170 95 mouseup 1"));
  RunUntil(events, WindowEventKind::LeftButtonUp);

  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front().kind, WindowEventKind::MouseMove);
  EXPECT_EQ(events.front().x, 10);
  EXPECT_EQ(events.front().y, 10);
  EXPECT_EQ(anchorX, 10);
  EXPECT_EQ(anchorY, 10);
  ASSERT_EQ(events.back().kind, WindowEventKind::LeftButtonUp);
  // The grabbed point stays under the pointer.
  EXPECT_EQ(window_->Left(), 160);
  EXPECT_EQ(window_->Top(), 85);
  EXPECT_EQ(events.back().screenX, 170);
  EXPECT_EQ(events.back().screenY, 95);

  events.clear();
  ASSERT_TRUE(test::RunXdotool("mousemove 5 700"));
  RunUntil(events, WindowEventKind::MouseLeave);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, WindowEventKind::MouseLeave);
  EXPECT_FALSE(window_->HasMouseFocus());
}

TEST_F(X11WindowTest, TitleAndIconReachTheDesktop) {
  window_->SetTitle("VEXMOR LAUNCHER");
  // A 2x2 icon with a stride wider than its rows, premultiplied as cairo keeps it.
  const std::uint32_t pixels[] = {0xFFFF0000, 0x80400000, 0xDEAD, 0x00000000, 0x00000000, 0xDEAD};
  window_->SetIcon({pixels, 2, 2, 12});
  window_->WaitForFrame(10);

  auto display = OpenDisplay();
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(display.get(), XWindow(), &name));
  EXPECT_STREQ(name, "VEXMOR LAUNCHER");
  XFree(name);

  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display.get(), XWindow(), XInternAtom(display.get(), "_NET_WM_ICON", False), 0, 64, False,
                     XA_CARDINAL, &type, &format, &count, &after, &data);
  ASSERT_EQ(count, 6u);  // width, height, then the pixels
  // Xlib hands 32-bit items over as longs.
  const auto* items = reinterpret_cast<const unsigned long*>(data);
  std::vector<std::uint32_t> icon(items, items + count);
  EXPECT_EQ(icon, (std::vector<std::uint32_t>{2, 2, 0xFFFF0000, 0x80800000, 0, 0}));
  XFree(data);
}

TEST_F(X11WindowTest, SystemCloseRequestEndsTheWait) {
  // What a window manager sends when the user closes the window from outside.
  auto display = OpenDisplay();
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = XWindow();
  close.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display.get(), XWindow(), False, NoEventMask, &close);
  XSync(display.get(), False);

  std::vector<WindowEvent> events;
  window_->SetEventHandler([&](const WindowEvent& event) { events.push_back(event); });
  WaitEnd end = WaitEnd::FrameDue;
  for (int i = 0; i < 100 && end == WaitEnd::FrameDue; ++i) end = window_->WaitForFrame(10);
  EXPECT_EQ(end, WaitEnd::Closed);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, WindowEventKind::CloseRequest);
}

// With a window manager, as on a desktop.
class X11ManagedWindowTest : public X11WindowTest {
 protected:
  static void SetUpTestSuite() { display_ = new test::XvfbDisplay(1280, 720, true); }
};

TEST_F(X11ManagedWindowTest, RestoreRequestBringsTheMinimisedWindowBack) {
  window_->SetEventHandler([this](const WindowEvent& event) {
    if (event.kind == WindowEventKind::RestoreRequest) window_->RestoreAndRaise();
  });
  window_->Minimize();
  ASSERT_TRUE(RunUntil([&] { return HasFlag(SDL_WINDOW_MINIMIZED); }));

  // Posted from another thread, as the single-instance marker does.
  std::thread([] { PostRestoreRequest(); }).join();
  EXPECT_TRUE(RunUntil([&] { return !HasFlag(SDL_WINDOW_MINIMIZED) && HasFlag(SDL_WINDOW_INPUT_FOCUS); }));
}

TEST_F(X11ManagedWindowTest, CapturedMouseReportsMovesOutsideTheWindow) {
  std::vector<WindowEvent> events;
  window_->SetEventHandler([&](const WindowEvent& event) { events.push_back(event); });
  window_->RestoreAndRaise();
  ASSERT_TRUE(RunUntil([&] { return HasFlag(SDL_WINDOW_INPUT_FOCUS); }));
  ASSERT_TRUE(test::RunXdotool("mousemove 110 60"));
  RunUntil(events, WindowEventKind::MouseMove);
  ASSERT_TRUE(window_->CaptureMouse(true));
  events.clear();
  ASSERT_TRUE(test::RunXdotool("mousemove 700 600"));
  ASSERT_TRUE(RunUntil([&] { return !events.empty() && events.back().x == 600; }));
  EXPECT_EQ(events.back().y, 550);
  EXPECT_TRUE(window_->CaptureMouse(false));
}

TEST_F(X11ManagedWindowTest, FlashAsksForAttentionUntilTheWindowIsActive) {
  window_->Minimize();
  ASSERT_TRUE(RunUntil([&] { return HasFlag(SDL_WINDOW_MINIMIZED) && !HasFlag(SDL_WINDOW_INPUT_FOCUS); }));
  auto display = OpenDisplay();
  auto demandsAttention = [&] {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display.get(), XWindow(), XInternAtom(display.get(), "_NET_WM_STATE", False), 0, 32,
                       False, XA_ATOM, &type, &format, &count, &after, &data);
    const Atom wanted = XInternAtom(display.get(), "_NET_WM_STATE_DEMANDS_ATTENTION", False);
    const auto* states = reinterpret_cast<const Atom*>(data);
    const bool found = data && std::find(states, states + count, wanted) != states + count;
    if (data) XFree(data);
    return found;
  };
  window_->Flash();
  EXPECT_TRUE(RunUntil(demandsAttention));
  window_->RestoreAndRaise();
  EXPECT_TRUE(RunUntil([&] { return HasFlag(SDL_WINDOW_INPUT_FOCUS) && !demandsAttention(); }));
}

}  // namespace
}  // namespace vexmor::platform
