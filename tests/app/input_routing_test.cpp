// Mouse input through the real window code on SDL's offscreen driver: synthetic events are taken
// by the launcher's loop and routed to the widgets, the window is dragged, the menu and the
// question dialog take or refuse the mouse.
#include "app/input_routing.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/frame_tick.h"
#include "app/launcher_shell.h"
#include "patcher/patcher.h"
#include "tests/app/shell_test_support.h"
#include "ui/button.h"
#include "ui/news_button.h"

namespace vexmor::test {
namespace {

class InputRoutingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    video = platform::VideoSystem::Start(platform::VideoDriver::Offscreen, error);
    ASSERT_TRUE(video) << error;
    shell = std::make_unique<LauncherShell>(*video, UnreachableConfig(dir.path()), effects.Effects());
    w = &shell->Window();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  void TearDown() override {
    shell.reset();
    video.reset();
  }

  SDL_Event Motion(int x, int y, bool leftDown) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = shell->SystemWindow().SystemId();
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = leftDown ? SDL_BUTTON_LMASK : 0;
    return event;
  }

  SDL_Event ButtonEvent(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = shell->SystemWindow().SystemId();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    return event;
  }

  // Queues the events and lets the loop take them, up to the next frame tick.
  void Send(std::initializer_list<SDL_Event> events) {
    for (SDL_Event event : events) ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    shell->WaitForFrame();
  }
  void Move(int x, int y) { Send({Motion(x, y, false)}); }
  void Click(int x, int y) { Send({ButtonEvent(SDL_MOUSEBUTTONDOWN, x, y), ButtonEvent(SDL_MOUSEBUTTONUP, x, y)}); }
  void Click(const Button& button) { Click(button.x + button.width / 2, button.y + button.height / 2); }
  void Press(const Button& button) {
    Send({ButtonEvent(SDL_MOUSEBUTTONDOWN, button.x + button.width / 2, button.y + button.height / 2)});
  }

  // A place in the middle band, right of the link buttons, that no widget takes while the menu is
  // closed.
  int FreeX() const { return w->width * 3 / 4; }
  int FreeY() const { return w->height / 2; }

  TempDir dir;
  RecordedEffects effects;
  std::unique_ptr<platform::VideoSystem> video;
  std::unique_ptr<LauncherShell> shell;
  LauncherWindow* w = nullptr;
};

TEST_F(InputRoutingTest, TheWindowIsBuiltAtItsPlaceAndShown) {
  EXPECT_TRUE(w->running);
  EXPECT_EQ(shell->SystemWindow().Left(), w->left);
  EXPECT_EQ(shell->SystemWindow().Top(), w->top);
  EXPECT_EQ(shell->SystemWindow().Width(), w->width);
  EXPECT_GE(w->height, 480);
  EXPECT_EQ(w->statusLine, L"Initializing...");
}

TEST_F(InputRoutingTest, DraggingTheBackgroundKeepsTheGrabbedPointUnderTheCursor) {
  const int left = shell->SystemWindow().Left();
  const int top = shell->SystemWindow().Top();
  Send({ButtonEvent(SDL_MOUSEBUTTONDOWN, FreeX(), FreeY())});
  EXPECT_TRUE(w->draggingWindow);
  EXPECT_EQ(w->dragAnchorX, FreeX());
  Send({Motion(FreeX() + 40, FreeY() + 25, true)});
  EXPECT_EQ(shell->SystemWindow().Left(), left + 40);
  EXPECT_EQ(shell->SystemWindow().Top(), top + 25);
  // The release ends the drag; the widget under it gets the release.
  Send({ButtonEvent(SDL_MOUSEBUTTONUP, w->closeButton->x + 2, 2)});
  EXPECT_FALSE(w->draggingWindow);
  EXPECT_TRUE(w->closeButton->clicked);
  // A move without the button does not drag.
  Send({Motion(FreeX(), FreeY(), false)});
  EXPECT_EQ(shell->SystemWindow().Left(), left + 40);
}

TEST_F(InputRoutingTest, APressOnADisabledPlayNeitherDragsNorClicks) {
  ASSERT_TRUE(w->playButton->disabled);
  Press(*w->playButton);
  EXPECT_FALSE(w->draggingWindow);
  EXPECT_FALSE(w->playButton->pressed);
  Click(*w->playButton);
  EXPECT_FALSE(w->playButton->clicked);
}

TEST_F(InputRoutingTest, PressingOneButtonAndReleasingOnAnotherClicksOnlyTheOther) {
  Press(*w->minimizeButton);
  EXPECT_TRUE(w->minimizeButton->pressed);
  Move(FreeX(), FreeY());
  EXPECT_FALSE(w->minimizeButton->pressed) << "leaving cancels the press";
  Send({ButtonEvent(SDL_MOUSEBUTTONUP, w->menuButton->x + 3, w->menuButton->y + 3)});
  EXPECT_FALSE(w->minimizeButton->clicked);
  EXPECT_TRUE(w->menuButton->clicked);
}

TEST_F(InputRoutingTest, TheMenuStaysOpenForPressesOnItsButtonOrInsideAndClosesForOthers) {
  Click(*w->menuButton);
  shell->Tick();
  ASSERT_TRUE(w->menuOpen);

  // Inside the outline, on the about entry: stays open, the entry gets the click.
  Click(*w->aboutButton);
  EXPECT_TRUE(w->menuOpen);
  EXPECT_TRUE(w->aboutButton->clicked);
  w->aboutButton->clicked = false;

  // On the gear: the press leaves it open, the click toggles it at the tick.
  Press(*w->menuButton);
  EXPECT_TRUE(w->menuOpen);
  Send({ButtonEvent(SDL_MOUSEBUTTONUP, w->menuButton->x + 3, w->menuButton->y + 3)});
  EXPECT_TRUE(w->menuOpen);
  shell->Tick();
  EXPECT_FALSE(w->menuOpen);

  // Anywhere else: the press closes it.
  Click(*w->menuButton);
  shell->Tick();
  ASSERT_TRUE(w->menuOpen);
  Send({ButtonEvent(SDL_MOUSEBUTTONDOWN, 5, w->height - 5)});
  EXPECT_FALSE(w->menuOpen);
}

TEST_F(InputRoutingTest, TheQuestionDialogSwallowsTheMainWidgetsAndItsBackgroundDrags) {
  w->dialogShown = true;
  w->dialogKind = 2;
  Click(*w->closeButton);
  EXPECT_FALSE(w->closeButton->clicked);
  EXPECT_FALSE(w->draggingWindow) << "the release ended the drag the press started";
  Send({ButtonEvent(SDL_MOUSEBUTTONDOWN, w->closeButton->x + 3, 3)});
  EXPECT_TRUE(w->draggingWindow) << "nothing under the dialog takes the press";
  Send({ButtonEvent(SDL_MOUSEBUTTONUP, w->closeButton->x + 3, 3)});
  Click(*w->confirmButton);
  EXPECT_TRUE(w->confirmButton->clicked);
  EXPECT_FALSE(w->declineButton->clicked);
}

TEST_F(InputRoutingTest, TheHandIsShownOnlyOverNewsEntriesInUse) {
  w->patcher->SetNewsText(L"PATCH\nUpdate\nDetail\nhttps://vexmor.example/1\n");
  shell->Tick();
  ASSERT_EQ(w->newsCount, 1);
  const NewsButton& news = *w->newsButtons[0];
  Move(news.x + 10, news.y + 10);
  EXPECT_EQ(CursorFor(*w), platform::CursorStyle::Hand);
  Move(w->closeButton->x + 3, 3);
  EXPECT_EQ(CursorFor(*w), platform::CursorStyle::Arrow);
  const NewsButton& unused = *w->newsButtons[1];
  Move(unused.x + 10, unused.y + 10);
  EXPECT_EQ(CursorFor(*w), platform::CursorStyle::Arrow);
  Move(news.x + 10, news.y + 10);
  w->dialogShown = true;
  EXPECT_EQ(CursorFor(*w), platform::CursorStyle::Arrow);
}

TEST_F(InputRoutingTest, LeavingTheWindowClearsButtonsAtTheNextTickButNotNews) {
  w->patcher->SetNewsText(L"PATCH\nUpdate\nDetail\nhttps://vexmor.example/1\n");
  shell->Tick();
  Move(w->newsButtons[0]->x + 10, w->newsButtons[0]->y + 10);
  w->closeButton->hovered = true;
  // The synthetic events never give the window the mouse's focus: to the tick, the mouse is out.
  ASSERT_FALSE(shell->SystemWindow().HasMouseFocus());
  shell->Tick();
  EXPECT_FALSE(w->closeButton->hovered);
  EXPECT_TRUE(w->newsButtons[0]->hovered);
}

TEST_F(InputRoutingTest, ACloseRequestEndsTheLoop) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Send({quit});
  EXPECT_FALSE(w->running);
}

}  // namespace
}  // namespace vexmor::test
